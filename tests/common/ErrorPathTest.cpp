#include "ErrorHandling.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
const QString kC = QStringLiteral("Quillon502.basGlobals.TimeToSeconds()");
const QString kB = QStringLiteral("Quillon502.frmMain.SetTime()");
const QString kA = QStringLiteral("Quillon502.frmMain.Timer1_Timer()");

void procC() {
    logAndRaise(kC, [] { throw QuillonError(13, "Type mismatch", "Quillon502", 0, "quillon.hlp", 42); });
}
void procB() { logAndRaise(kB, [] { procC(); }); }
void procA() { logAndRaise(kA, [] { procB(); }); }
} // namespace

TEST(ErrorPath, ChainGrowsOverThreeLevelsWithExactLogLines) {
    CapturedLog log;
    try {
        procA();
        FAIL() << "no error raised";
    } catch (const QuillonError& e) {
        EXPECT_EQ(e.Number, 13);
        EXPECT_EQ(e.Description, kA + " > " + kB + " > " + kC + " > Type mismatch");
        EXPECT_EQ(e.HelpFile, "quillon.hlp");
        EXPECT_EQ(e.HelpContext, 42);
        EXPECT_EQ(e.Source, "Quillon502");
    }
    ASSERT_EQ(log.lines.size(), 3);
    EXPECT_EQ(log.lines[0], "ERROR: No = 13, Line No = 0, Desc = " + kC + " > Type mismatch, AddlInfo = ");
    EXPECT_EQ(log.lines[1], "ERROR: No = 13, Line No = 0, Desc = " + kB + " > " + kC + " > Type mismatch, AddlInfo = ");
    EXPECT_TRUE(log.lines[2].startsWith("ERROR: No = 13, Line No = 0, Desc = " + kA + " > " + kB));
}

TEST(ErrorPath, BuildErrorChainTable) {
    struct Case {
        const char *lineNo, *addlInfo, *expected;
    } cases[] = {
        {"0", "", "Quillon502.frmMain.Init() > D"},
        {"", "", "Quillon502.frmMain.Init() > D"},
        {"120", "", "Quillon502.frmMain.Init() at line: 120 > D"},
        {"7", "more", "Quillon502.frmMain.Init() at line: 7 ( more) > D"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildErrorChain("D", "Quillon502.frmMain.Init()", c.lineNo, c.addlInfo), c.expected) << c.lineNo;
}

TEST(ErrorPath, RaisedErrorCarriesItsSourceLine) {
    CapturedLog log;
    EXPECT_THROW(logAndRaise(kC, [] { raiseError(ErrNo::Overflow, "Overflow"); }), QuillonError);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_FALSE(log.lines[0].contains("Line No = 0,")) << log.lines[0].toStdString();
    EXPECT_TRUE(log.lines[0].contains(kC + " at line: ")) << log.lines[0].toStdString();
}

TEST(ErrorPath, ForeignExceptionsBecomeRunTimeErrors) {
    CapturedLog log;
    try {
        logAndRaise(kC, []() -> int { throw std::bad_alloc(); });
    } catch (const QuillonError& e) {
        EXPECT_EQ(e.Number, ErrNo::OutOfMemory);
    }
    try {
        logAndRaise(kC, []() -> int { throw std::runtime_error("boom"); });
    } catch (const QuillonError& e) {
        EXPECT_EQ(e.Number, ErrNo::Unknown);
        EXPECT_EQ(e.Description, kC + " > boom");
    }
}

TEST(ErrorPath, CarryOnAndSkipHandlings) {
    CapturedLog log;
    EXPECT_FALSE(logAndCarryOn(kA, [] { raiseError(5, "Invalid"); }));
    EXPECT_TRUE(logAndCarryOn(kA, [] {}));
    EXPECT_EQ(log.lines.size(), 1);
    EXPECT_FALSE(skipErrors([] { raiseError(5, "Invalid"); }));
    EXPECT_EQ(log.lines.size(), 1);
}

TEST(ErrorPath, EventHandlerShowsNumberAndChainAndKeepsRunning) {
    CapturedLog log;
    RecordedMessages messages;
    eventHandler(kA, [] { procB(); });
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, "error");
    EXPECT_TRUE(messages.shown[0].text.contains("13"));
    EXPECT_TRUE(messages.shown[0].text.contains(kA + " > " + kB + " > " + kC + " > Type mismatch"));
    EXPECT_EQ(log.lines.size(), 3);
}

TEST(ErrorPath, ALogSinkThatThrowsIsIgnored) {
    LogSink previous = setLogSink([](const QString&) { throw std::runtime_error("disk full"); });
    EXPECT_THROW(procC(), QuillonError);
    setLogSink(previous);
}
