#include <gtest/gtest.h>
#include "files/plan_file.h"
#include "shell/message_box.h"
#include "support/test_support.h"

// A program routine's box reaches the hook with the routine's own caption, text and
// style, the hook's answer comes back, and every box is counted.
TEST(MessageRoutine, ProgramBoxReachesHookAndIsCounted)
{
    vtest::MessageBoxRecorder rec;
    const unsigned long before = shownMessageBoxCount;
    ShowPlanFormatMessage("x\xE8");
    ShowSaveFailure();
    EXPECT_EQ(before + 2, shownMessageBoxCount);
    ASSERT_EQ(2u, rec.Count());
    EXPECT_EQ("Errore file - Formato sconosciuto", rec.Boxes()[0].caption);
    EXPECT_EQ("x\xE8", rec.Boxes()[0].text);
    EXPECT_EQ(0x2030u, rec.Boxes()[0].flags);  // OK, exclamation, task-modal
    EXPECT_EQ("Errore di salvataggio", rec.Boxes()[1].caption);
    EXPECT_EQ(0u, rec.Boxes()[1].text.find("Si \xE8 verificato un errore durante il salvataggio"));
}

// Run only by the watchdog's test (test_watchdog.test.sh): a box nobody answers, which
// the test program's watchdog must report with its caption.
TEST(MessageRoutine, DISABLED_BoxNobodyAnswers)
{
    ShowMessageBox(nullptr, "Nessuno risponde.", "Una finestra in attesa", MB_OK);
}
