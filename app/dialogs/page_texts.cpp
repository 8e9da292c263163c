#include "app/dialogs/page_texts.h"

int DoctypeChoice(int settingsValue)
{
    return settingsValue == 1 ? 1 : 0;
}

std::string DoctypeDeclaration(int choice)
{
    if (choice == 1)
        return "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">";
    return "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
           "\"http://www.w3.org/TR/html4/loose.dtd\">";
}
