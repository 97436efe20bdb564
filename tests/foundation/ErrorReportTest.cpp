#include "foundation/ErrorReport.h"

#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ErrorReportTest, WarningPrintsTheFileOpenBlockAndReturns) {
    ConsoleCapture capture;
    ReportError(kErrorWarning, kFileOpenError, "a.ini");
    EXPECT_EQ(capture.Err(), "\n\nFile Open Error\n\nUnable to open file...\n\na.ini\n");
    EXPECT_EQ(capture.Out(), "");
}

TEST(ErrorReportTest, ParseBlockPlacesTheDetailInsideIt) {
    EXPECT_EQ(ComposeErrorMessage(kParseError, ""),
              "\nParse Error\n\nUnable to parse data file...\n\n"
              "The data file may not be in the correct format or it may be corrupt.\n\n");
    EXPECT_EQ(ComposeErrorMessage(kParseError, "p.txt line 4"),
              "\nParse Error\n\nUnable to parse data file...\n\np.txt line 4\n\n"
              "The data file may not be in the correct format or it may be corrupt.\n\n");
}

TEST(ErrorReportTest, OtherBlocks) {
    EXPECT_EQ(ComposeErrorMessage(kDetailOnly, "just this"), "\njust this");
    EXPECT_EQ(ComposeErrorMessage(kGeneralProgramError, ""), "\nGeneral Program Error\n\n");
    EXPECT_EQ(ComposeErrorMessage(kTcpIpError, "host"), "\nTCP/IP Error\n\nhost");
    EXPECT_EQ(ComposeErrorMessage(kMemoryAllocationError, "CString::CreateCharString"),
              "\nMemory Allocation Error\n\n"
              "Not enough memory is available for this application.\n\n"
              "Please close some programs to free up memory and try running\n"
              "this application again.\n\nCString::CreateCharString");
    EXPECT_EQ(ComposeErrorMessage(kFileCloseError, nullptr),
              "\nFile Close Error\n\nUnable to close file...\n\n");
}

TEST(ErrorReportTest, CodesOutsideTheTableAddNeitherBlockNorDetail) {
    for (int code : {0, 11, -1}) {
        ConsoleCapture capture;
        ReportError(kErrorWarning, code, "ignored");
        EXPECT_EQ(capture.Err(), "\n\n\n") << code;
    }
}

TEST(ErrorReportTest, LongDetailIsCutAtTheMessageBuffer) {
    std::string detail(2000, 'd');
    std::string message = ComposeErrorMessage(kFileReadError, detail.c_str());
    EXPECT_EQ(message.size(), 511u);
    EXPECT_EQ(message.rfind("\nFile Read Error\n\nUnable to read from file...\n\nddd", 0), 0u);
    std::string parse = ComposeErrorMessage(kParseError, detail.c_str());
    EXPECT_EQ(parse.size(), 511u);
}

TEST(ErrorReportTest, OtherNonZeroModesReturnLikeWarnings) {
    ConsoleCapture capture("n");
    ReportError(7, kGeneralSystemError, "x");
    EXPECT_EQ(capture.Err(), "\n\nGeneral System Error\n\nx\n");
}

TEST(ErrorReportDeathTest, FatalModeEndsWithStatusOne) {
    EXPECT_EXIT(ReportError(kErrorFatal, kFileOpenError, "a.ini"), ::testing::ExitedWithCode(1),
                "File Open Error");
}

TEST(ErrorReportTest, AskModeReturnsOnYes) {
    for (const char* answer : {"yx", "  Y\n z", "y"}) {
        ConsoleCapture capture(answer);
        ReportError(kErrorAsk, kFileWriteError, "out.ini");
        EXPECT_EQ(capture.Err(), "\n\nFile Write Error\n\nUnable to write to file...\n\nout.ini\n"
                                 "\nContinue anyway? ")
            << answer;
    }
}

TEST(ErrorReportDeathTest, AskModeEndsOnAnythingElse) {
    for (const char* answer : {"n", "no", "", " \n", "xy"}) {
        EXPECT_EXIT(
            {
                ConsoleCapture capture(answer);
                ReportError(kErrorAsk, kFileWriteError, "out.ini");
            },
            ::testing::ExitedWithCode(1), "")
            << "answer: '" << answer << "'";
    }
}

} // namespace
