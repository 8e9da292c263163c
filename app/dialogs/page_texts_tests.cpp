#include "app/dialogs/page_texts.h"

#include <gtest/gtest.h>

TEST(PageTexts, DoctypeChoiceAndItsDeclaration)
{
    EXPECT_EQ(DoctypeChoice(0), 0);
    EXPECT_EQ(DoctypeChoice(1), 1);
    EXPECT_EQ(DoctypeChoice(7), 0);
    EXPECT_EQ(DoctypeChoice(-1), 0);
    EXPECT_EQ(DoctypeDeclaration(DoctypeChoice(7)), "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
                                                    "\"http://www.w3.org/TR/html4/loose.dtd\">");
    EXPECT_EQ(DoctypeDeclaration(1),
              "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">");
}
