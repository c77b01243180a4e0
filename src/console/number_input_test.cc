#include "console/number_input.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "console/fake_platform.h"
#include "console/line_input.h"

namespace igra::console {
namespace {

using Delivery = FakePlatform::Delivery;

// What one AskNumber did: the value stored or the status it stopped with,
// and the next input line left for the operation after it.
struct Answer {
  bool stopped = false;
  int status = 0;
  double value = 0;
  std::string next_line;
  std::string output;
};

Answer Ask(std::vector<Delivery> deliveries) {
  FakePlatform platform;
  platform.deliveries.assign(deliveries.begin(), deliveries.end());
  UsePlatform(platform);
  Answer answer;
  answer.value = -12345;  // the register's earlier value
  try {
    AskNumber(answer.value);
    Text next_line;
    AskName(next_line);
    answer.next_line = next_line.View();
  } catch (const FakePlatform::Exited& exited) {
    answer.stopped = true;
    answer.status = exited.status;
  }
  answer.output = platform.output;
  return answer;
}

Answer Ask(std::string input) { return Ask(std::vector<Delivery>{{std::move(input)}}); }

TEST(AskNumberTest, StoresTheNumberAndDiscardsTheRestOfItsLine) {
  struct Case {
    std::string input;
    double value;
    std::string next_line;
  };
  const Case cases[] = {
      {"6\nnext\n", 6, "next"},
      {"+6\n", 6, ""},
      {"06\n", 6, ""},
      {"6.\n", 6, ""},
      {"6.0\n", 6, ""},
      {"6e0\n", 6, ""},
      {"6E+0\n", 6, ""},
      {"0.6e1\n", 6, ""},
      {"60e-1\n", 6, ""},
      {"284.0\n", 284, ""},
      {"0.1e2\n", 10, ""},
      {"72.000\n", 72, ""},
      {".5\n", 0.5, ""},
      {"5.e3\n", 5000, ""},
      {"-.5\n", -0.5, ""},
      {"6.5\n", 6.5, ""},
      {"1.0000000000000001\n", 1, ""},
      {"1e-400\n", 0, ""},
      {"12 abc\nnext\n", 12, "next"},
      {"6 284\nnext\n", 6, "next"},
      {"6\r\nnext\r\n", 6, "next"},
      {"6\rnext\r", 6, "next"},
      {"\n\n  \t\r\n 7  \nnext\n", 7, "next"},
      {"42", 42, ""},
      // Blank runs longer than the blocks they are scanned in.
      {std::string(50, '\n') + " \t\r\n" + std::string(40, ' ') + "7\n", 7, ""},
      {std::string(100, '\n') + "7" + std::string(100, ' ') + "\n", 7, ""},
      {"6\x1a", 6, ""},
      {"\n\n\n", 0, ""},  // only empty lines before the end: 0
      {" \t ", 0, ""},
      {std::string(300, '0') + "6\n", 6, ""},  // no cut at 255 bytes
      {"0." + std::string(400, '0') + "e400\n", 0, ""},
      {"7" + std::string(200, '0') + "e-200\n", 7, ""},
  };
  for (const Case& c : cases) {
    const Answer answer = Ask(c.input);
    ASSERT_FALSE(answer.stopped) << c.input << ": status " << answer.status;
    EXPECT_EQ(answer.value, c.value) << c.input;
    EXPECT_EQ(answer.next_line, c.next_line) << c.input;
    EXPECT_EQ(answer.output, "") << c.input;
  }
}

TEST(AskNumberTest, MinusZeroStoresNegativeZero) {
  const Answer answer = Ask("-0.0\n");
  EXPECT_EQ(answer.value, 0);
  EXPECT_TRUE(std::signbit(answer.value));
}

TEST(AskNumberTest, StopsOnAnswersThatAreNotNumbersOrOverflow) {
  struct Case {
    std::string input;
    int status;
  };
  const Case cases[] = {
      {"", 106},
      {"\x1a", 106},
      {" \t\x1a", 106},
      {std::string(100, '\n') + "\x1a" + std::string(100, '\n'), 106},
      {"abc\n", 106},
      {"12abc\n", 106},
      {"1,5\n", 106},
      {"$10\n", 106},
      {"NaN\n", 106},
      {"Inf\n", 106},
      {".\n", 106},
      {"+\n", 106},
      {"-\n", 106},
      {"++5\n", 106},
      {"6e\n", 106},
      {"6e+\n", 106},
      {".e3\n", 106},
      {"e5\n", 106},
      {"6..\n", 106},
      {"1.2.3\n", 106},
      {"\xb5\n", 106},
      {"1e400\n", 205},
      {"-1e400\n", 205},
      {"1e5000\n", 205},
      {"1e5000x\n", 205},
      {"1e-10000\n", 205},
      {"0e10000\n", 205},
      {"1e2147483647\n", 205},
      {"1e2147483648\n", 205},
      {"0e-99999999999999999999\n", 205},
      {std::string(5000, '9') + "\n", 205},
  };
  for (const Case& c : cases) {
    const Answer answer = Ask(c.input);
    EXPECT_TRUE(answer.stopped) << c.input;
    EXPECT_EQ(answer.status, c.status) << c.input;
    EXPECT_EQ(answer.output.rfind("Runtime error " + std::to_string(c.status) + " at $", 0), 0u)
        << c.input;
  }
}

TEST(AskNumberTest, ATooLargeValueStopsOnlyAfterItsLineIsDiscarded) {
  // The rest of the line is read (it spans two deliveries) before the stop.
  FakePlatform platform;
  platform.deliveries = {{"1e400 and the rest"}, {" of the line\n"}, {"next\n"}};
  UsePlatform(platform);
  double value = 0;
  EXPECT_THROW(AskNumber(value), FakePlatform::Exited);
  EXPECT_EQ(platform.deliveries.size(), 1u);
  // A malformed answer stops before the rest of its line is read.
  platform.deliveries = {{"abc rest"}, {" of the line\n"}};
  UsePlatform(platform);
  EXPECT_THROW(AskNumber(value), FakePlatform::Exited);
  EXPECT_EQ(platform.deliveries.size(), 1u);
}

TEST(AskNumberTest, AfterAnEndMarkTheNextAnswerIsNotANumber) {
  FakePlatform platform("6\x1a\n7\n");
  UsePlatform(platform);
  double value = 0;
  AskNumber(value);
  EXPECT_EQ(value, 6);
  try {
    AskNumber(value);
    ADD_FAILURE() << "no stop";
  } catch (const FakePlatform::Exited& exited) {
    EXPECT_EQ(exited.status, 106);
  }
}

TEST(AskNumberTest, AFailedReadStopsWith106OrWithTheReadsNumber) {
  struct Case {
    const char* about;
    std::vector<Delivery> deliveries;
    int status;
  };
  const Case cases[] = {
      {"before any byte: the empty token is no number", {{"", 5}}, 106},
      {"a cut-off token that is no number", {{"12e"}, {"", 5}}, 106},
      {"a cut-off token that converts", {{"12"}, {"", 5}}, 5},
      {"while skipping blanks", {{"\n  "}, {"", 5}}, 5},
      {"while discarding the line", {{"12 "}, {"", 11}}, 11},
  };
  for (const Case& c : cases) {
    const Answer answer = Ask(c.deliveries);
    EXPECT_TRUE(answer.stopped) << c.about;
    EXPECT_EQ(answer.status, c.status) << c.about;
  }
}

}  // namespace
}  // namespace igra::console
