#include "console/output.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "console/fake_platform.h"

namespace igra::console {
namespace {

TEST(OutputTest, PiecesGoOutInOrderAsOneRequest) {
  FakePlatform platform;
  UsePlatform(platform);
  const std::string name = "Ivan";
  ShowText({"dokato ", name, " se razhojdashe"});
  EXPECT_EQ(platform.writes, 1);
  ShowLine({name, "."});
  EXPECT_EQ(platform.writes, 2);
  ShowLine();
  EXPECT_EQ(platform.output, "dokato Ivan se razhojdasheIvan.\r\n\r\n");
}

TEST(OutputTest, AnOperationWithOnlyEmptyPiecesMakesNoRequest) {
  FakePlatform platform;
  UsePlatform(platform);
  const std::string empty_name;
  ShowText({empty_name});
  ShowText({"", empty_name, ""});
  EXPECT_EQ(platform.writes, 0);
  ShowLine({empty_name});
  EXPECT_EQ(platform.output, "\r\n");
}

TEST(OutputTest, LongPiecesAndManyPiecesArriveWhole) {
  FakePlatform platform;
  UsePlatform(platform);
  const std::string long_piece(100000, 'x');
  ShowLine({long_piece, "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o",
            "p", "q", "r"});
  EXPECT_EQ(platform.output, long_piece + "abcdefghijklmnopqr\r\n");
}

// The report of an error found in a step: the heading, the step with its
// routine, line and file, the start-up location alone, the empty line.
void ExpectStepReport(const std::string& output, int number, unsigned line) {
  const std::regex form("Runtime error " + std::to_string(number) +
                        " at \\$([0-9A-F]{8})\r\n"
                        "  \\$\\1  TestBody,  line " +
                        std::to_string(line) +
                        " of src/console/output_test\\.cc\r\n"
                        "  \\$[0-9A-F]{8}\r\n"
                        "\r\n");
  EXPECT_TRUE(std::regex_match(output, form)) << output;
}

TEST(OutputTest, AFailedWriteStopsWith101AndTheReportIsDroppedToo) {
  FakePlatform platform;
  UsePlatform(platform);
  platform.refuse_writes = true;
  try {
    ShowLine({"Nivo 1"});
    ADD_FAILURE() << "no stop";
  } catch (const FakePlatform::Exited& exited) {
    EXPECT_EQ(exited.status, 101);
  }
  EXPECT_EQ(platform.output, "");
  EXPECT_EQ(platform.writes, 2);  // the line, then the report
}

TEST(OutputTest, StopRunWritesTheReportRightAfterTheLastOutput) {
  FakePlatform platform;
  UsePlatform(platform);
  ShowText({"prompt="});
  const unsigned line = __LINE__ + 2;
  try {
    StopRun(kNotANumber, {{CurrentLocation(), SourcePlace::Here()}});
  } catch (const FakePlatform::Exited& exited) {
    EXPECT_EQ(exited.status, 106);
  }
  ASSERT_EQ(platform.output.rfind("prompt=", 0), 0u);
  ExpectStepReport(platform.output.substr(7), 106, line);
}

TEST(OutputTest, BackTraceLinesAreCutAt255Bytes) {
  FakePlatform platform;
  UsePlatform(platform);
  const std::string routine(400, 'r');
  try {
    StopRun(kOutOfMemory,
            {{0, {routine.c_str(), "file.cc", 7}}, {0, {nullptr, "other.cc", 0}}, {0, {}}});
  } catch (const FakePlatform::Exited&) {
  }
  const std::string& report = platform.output;
  std::size_t start = 0;
  std::vector<std::string> lines;
  for (std::size_t end; (end = report.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(report.substr(start, end - start));
  ASSERT_EQ(lines.size(), 6u) << report;
  EXPECT_EQ(lines[1].size(), 255u);
  EXPECT_EQ(lines[1].substr(11, 6), "  rrrr");
  EXPECT_TRUE(std::regex_match(lines[2], std::regex("  \\$[0-9A-F]{8} of other\\.cc")));
  EXPECT_TRUE(std::regex_match(lines[3], std::regex("  \\$[0-9A-F]{8}")));
  EXPECT_EQ(lines[5], "");
}

}  // namespace
}  // namespace igra::console
