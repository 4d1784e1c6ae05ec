#include <gtest/gtest.h>
#include "shell/message_box.h"
#include "support/test_support.h"

TEST(MessageRoutine, HookSeesTextAndAnswers)
{
    vtest::MessageBoxRecorder rec;
    rec.QueueAnswer(IDNO);
    EXPECT_EQ(IDNO, ShowMessageBox(nullptr, "Creare un nuovo disegno?", "Fandril Print Manager", MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL));
    EXPECT_EQ(IDYES, ShowMessageBox(nullptr, "è", "c", MB_YESNO));
    ASSERT_EQ(2u, rec.Count());
    EXPECT_EQ("Creare un nuovo disegno?", rec.Boxes()[0].text);
    EXPECT_EQ(0x2024u, rec.Boxes()[0].flags);
    // Sources are UTF-8, the program's texts Windows-1252.
    EXPECT_EQ(std::string("\xE8"), rec.Last().text);
}
