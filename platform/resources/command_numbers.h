#pragma once

// The program's command numbers as wx takes them. wx refuses window and menu ids from 32767 up, where most of the
// program's commands lie, so those go to wx less 32768. Numbers below stay as they are.

constexpr int WxCommandId(int command)
{
    return command > 32766 ? command - 32768 : command;
}

// The program's number of a command wx knows by id, for the commands that lie above wx's range.
constexpr int ProgramCommandId(int wxId)
{
    return wxId + 32768;
}
