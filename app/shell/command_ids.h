#pragma once

// The program's commands by name, generated from resources/commands.xml, with WxCommandId and ProgramCommandId.
#include "platform/resources/command_names.h"
