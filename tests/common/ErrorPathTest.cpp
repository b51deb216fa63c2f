#include "TestSupport.h"
#include "UnhandledError.h"

#include <gtest/gtest.h>

namespace {
const QString kC = QStringLiteral("Quillon502.basGlobals.TimeToSeconds()");
const QString kB = QStringLiteral("Quillon502.frmMain.SetTime()");
const QString kA = QStringLiteral("Quillon502.frmMain.Timer1_Timer()");

void procC(AppLog& log) {
    logAndRaise(log, kC, [] { throw QuillonError(13, "Type mismatch", "Quillon502", 0, "quillon.hlp", 42); });
}
void procB(AppLog& log) {
    logAndRaise(log, kB, [&] { procC(log); });
}
} // namespace

TEST(ErrorPath, ChainGrowsPerLevelAndReachesTheUserWithoutEndingTheProgram) {
    CapturedLog log;
    RecordedMessages messages;
    try {
        logAndRaise(log, kA, [&] { procB(log); });
        ADD_FAILURE() << "the error must reach the handler's top";
    } catch (...) {
        reportUnhandledError(messages, currentError());
    }
    ASSERT_EQ(log.lines.size(), 3);
    EXPECT_EQ(log.lines[0], "ERROR: No = 13, Line No = 0, Desc = " + kC + " > Type mismatch, AddlInfo = ");
    EXPECT_EQ(log.lines[1],
              "ERROR: No = 13, Line No = 0, Desc = " + kB + " > " + kC + " > Type mismatch, AddlInfo = ");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind + ": " + messages.shown[0].text,
              "error: Run-time error '13':\n\n" + kA + " > " + kB + " > " + kC + " > Type mismatch");
}

TEST(ErrorPath, HandlingsAndForeignExceptions) {
    CapturedLog log;
    EXPECT_THROW(logAndRaise(log, kC, [] { raiseError(ErrNo::Overflow, "Overflow"); }), QuillonError);
    EXPECT_TRUE(log.lines.last().contains(kC + " at line: ")) << log.lines.last().toStdString();
    EXPECT_THROW(logAndRaise(log, kC, []() -> int { throw std::bad_alloc(); }), QuillonError);
    EXPECT_TRUE(log.lines.last().startsWith("ERROR: No = 7, ")) << log.lines.last().toStdString();
    EXPECT_FALSE(logAndCarryOn(log, kA, [] { throw std::runtime_error("boom"); }));
    EXPECT_EQ(log.lines.last(), "ERROR: No = 1000, Line No = 0, Desc = " + kA + " > boom, AddlInfo = ");
    const qsizetype logged = log.lines.size();
    EXPECT_FALSE(skipErrors([] { raiseError(5, "Invalid"); }));
    EXPECT_EQ(log.lines.size(), logged);
    // a log that cannot be written never takes the program down
    struct FullLog : AppLog {
        void writeEntry(const QString&) override { throw std::runtime_error("disk full"); }
    } full;
    EXPECT_THROW(procC(full), QuillonError);
}
