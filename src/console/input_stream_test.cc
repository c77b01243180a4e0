#include "console/input_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/fake_platform.h"
#include "console/line_input.h"

namespace igra::console {
namespace {

using Delivery = FakePlatform::Delivery;

// Runs `lines` AskName calls on input arriving as `deliveries`; returns the
// names read.
std::vector<std::string> ReadNames(FakePlatform& platform, int lines) {
  UsePlatform(platform);
  std::vector<std::string> names;
  for (int i = 0; i < lines; ++i) {
    Text name;
    name.Append("previous");
    AskName(name);
    names.emplace_back(name.View());
  }
  return names;
}

TEST(LineInputTest, LineEndsAndWhatEachLineHolds) {
  struct Case {
    const char* about;
    std::string input;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"LF", "Ivan\nPetar\n", {"Ivan", "Petar", ""}},
      {"CR LF is one line end", "Ivan\r\nPetar\r\n", {"Ivan", "Petar", ""}},
      {"a lone CR is a line end", "Ivan\rPetar\r", {"Ivan", "Petar", ""}},
      {"LF CR is two line ends", "Ivan\n\rPetar\n", {"Ivan", "", "Petar"}},
      {"CR CR LF: an empty line between", "a\r\r\nb\n", {"a", "", "b"}},
      {"empty lines give empty names", "\n\nx\n", {"", "", "x"}},
      {"blanks, tab, control and high bytes kept",
       "  Ana\tMaria \x01\x7f\xe4\xff \n",
       {"  Ana\tMaria \x01\x7f\xe4\xff ", ""}},
      {"NUL bytes kept", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
      {"last line without line end", "Ivan\nPetar", {"Ivan", "Petar", ""}},
      {"no input at all", "", {"", ""}},
      {"byte 26 ends the input for good",
       "Iv\x1a"
       "an\nPetar\n",
       {"Iv", "", ""}},
      {"byte 26 at a line start", "Ivan\n\x1aPetar\n", {"Ivan", "", ""}},
  };
  for (const Case& c : cases) {
    FakePlatform platform(c.input);
    EXPECT_EQ(ReadNames(platform, static_cast<int>(c.names.size())), c.names) << c.about;
  }
}

TEST(LineInputTest, PauseConsumesExactlyOneLineWhateverItHolds) {
  FakePlatform platform("typed before Enter\r\n\nname\n");
  UsePlatform(platform);
  Pause();
  Pause();
  Text name;
  AskName(name);
  EXPECT_EQ(name.View(), "name");
}

TEST(LineInputTest, ANameOfAnyLengthArrivesWholeAcrossReads) {
  // Longer than the stream's buffer, delivered in uneven pieces.
  std::string name;
  for (int i = 0; name.size() < 300000; ++i) name += static_cast<char>('A' + i % 26);
  FakePlatform platform;
  for (std::size_t at = 0; at < name.size(); at += 7919)
    platform.deliveries.push_back({name.substr(at, 7919)});
  platform.deliveries.push_back({"\r"});
  platform.deliveries.push_back({"\nnext\n"});
  EXPECT_EQ(ReadNames(platform, 2), (std::vector<std::string>{name, "next"}));
}

TEST(InputStreamTest, ACrAtTheEndOfADeliveryWaitsForTheNextByte) {
  // The CR LF split over two reads is still one line end.
  FakePlatform platform;
  platform.deliveries = {{"Ivan\r"}, {"\nPetar\n"}};
  EXPECT_EQ(ReadNames(platform, 2), (std::vector<std::string>{"Ivan", "Petar"}));
  EXPECT_EQ(platform.reads, 2);
}

TEST(InputStreamTest, EndOfInputIsNotRememberedAcrossOperations) {
  // A terminal signals an end of input (Ctrl-D) and then delivers more.
  FakePlatform platform;
  platform.deliveries = {{""}, {"Ivan\n"}, {""}, {"x\n"}};
  UsePlatform(platform);
  Text name;
  AskName(name);  // ends at once, asks no more
  EXPECT_EQ(name.View(), "");
  EXPECT_EQ(platform.reads, 1);
  AskName(name);
  EXPECT_EQ(name.View(), "Ivan");
  Pause();  // the end of input again
  AskName(name);
  EXPECT_EQ(name.View(), "x");
}

TEST(InputStreamTest, TheEndMarkIsNeverConsumedAndNeverReadPast) {
  FakePlatform platform;
  platform.deliveries = {{"a\n\x1a"}, {"more\n"}};
  UsePlatform(platform);
  Text name;
  AskName(name);
  for (int i = 0; i < 3; ++i) {
    Pause();
    AskName(name);
    EXPECT_EQ(name.View(), "");
  }
  EXPECT_EQ(platform.reads, 1);
}

TEST(InputStreamTest, AFailedReadFinishesTheOperationThenStopsWithItsNumber) {
  struct Case {
    const char* about;
    std::vector<Delivery> deliveries;
    int status;
  };
  const Case cases[] = {
      {"at once", {{"", 21}}, 21},
      {"inside the name", {{"Iva"}, {"", 5}}, 5},
      {"while looking for the LF after a CR", {{"Ivan\r"}, {"", 9}}, 9},
  };
  for (const Case& c : cases) {
    FakePlatform platform;
    platform.deliveries.assign(c.deliveries.begin(), c.deliveries.end());
    UsePlatform(platform);
    Text name;
    try {
      AskName(name);
      ADD_FAILURE() << c.about << ": no stop";
    } catch (const FakePlatform::Exited& exited) {
      EXPECT_EQ(exited.status, c.status) << c.about;
      EXPECT_EQ(platform.output.rfind("Runtime error " + std::to_string(c.status) + " at $", 0), 0u)
          << c.about;
    }
  }
}

}  // namespace
}  // namespace igra::console
