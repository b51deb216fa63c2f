#include "UnhandledError.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
const QString kC = QStringLiteral("Quillon502.basGlobals.TimeToSeconds()");
const QString kB = QStringLiteral("Quillon502.frmMain.SetTime()");
const QString kA = QStringLiteral("Quillon502.frmMain.Timer1_Timer()");

void procC() {
    logAndRaise(kC, [] { throw QuillonError(13, "Type mismatch", "Quillon502", 0, "quillon.hlp", 42); });
}
void procB() {
    logAndRaise(kB, [] { procC(); });
}
} // namespace

TEST(ErrorPath, ChainGrowsPerLevelAndReachesTheUserWithoutEndingTheProgram) {
    CapturedLog log;
    RecordedMessages messages;
    eventHandler(kA, [] { procB(); });
    ASSERT_EQ(log.lines.size(), 3);
    EXPECT_EQ(log.lines[0], "ERROR: No = 13, Line No = 0, Desc = " + kC + " > Type mismatch, AddlInfo = ");
    EXPECT_EQ(log.lines[1],
              "ERROR: No = 13, Line No = 0, Desc = " + kB + " > " + kC + " > Type mismatch, AddlInfo = ");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind + ": " + messages.shown[0].text,
              "error: Run-time error '13':\n\n" + kA + " > " + kB + " > " + kC + " > Type mismatch");
}

TEST(ErrorPath, BuildErrorChainNamesALineAndExtraInfoOnlyWhenThereAreAny) {
    EXPECT_EQ(BuildErrorChain("D", kB, "", ""), kB + " > D");
    EXPECT_EQ(BuildErrorChain("D", kB, "7", "more"), kB + " at line: 7 ( more) > D");
}

TEST(ErrorPath, HandlingsAndForeignExceptions) {
    CapturedLog log;
    EXPECT_THROW(logAndRaise(kC, [] { raiseError(ErrNo::Overflow, "Overflow"); }), QuillonError);
    EXPECT_TRUE(log.lines.last().contains(kC + " at line: ")) << log.lines.last().toStdString();
    try {
        logAndRaise(kC, []() -> int { throw std::bad_alloc(); });
    } catch (const QuillonError& e) {
        EXPECT_EQ(e.Number, ErrNo::OutOfMemory);
    }
    EXPECT_FALSE(logAndCarryOn(kA, [] { throw std::runtime_error("boom"); }));
    EXPECT_EQ(log.lines.last(), "ERROR: No = 1000, Line No = 0, Desc = " + kA + " > boom, AddlInfo = ");
    const qsizetype logged = log.lines.size();
    EXPECT_FALSE(skipErrors([] { raiseError(5, "Invalid"); }));
    EXPECT_EQ(log.lines.size(), logged);
    // a log that cannot be written never takes the program down
    LogSink previous = setLogSink([](const QString&) { throw std::runtime_error("disk full"); });
    EXPECT_THROW(procC(), QuillonError);
    setLogSink(previous);
}
