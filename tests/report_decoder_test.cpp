#include "remote/report_decoder.h"

#include <gtest/gtest.h>

#include <vector>

#include "fakes/headless_app.h"
#include "remote/button_codes.h"

namespace corvid {
namespace {

class DecoderTest : public ::testing::Test, public HeadlessApp {
 protected:
  void Report(std::vector<uint8_t> data, uint8_t id = 1) {
    engine.RemoteReport(id, data.data(), data.size());
  }
  // mask bytes, code and battery in the places the remote puts them
  void Report(uint8_t m0, uint8_t m1, uint8_t m2, uint8_t code, uint8_t battery = 5) {
    Report({m0, m1, m2, code, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, battery});
  }
};

TEST_F(DecoderTest, LogLinesNameTheMaskButtonsAndTheCode) {
  app.ReceiveLog().Clear();
  Report(0, 0, 0x08, 0x0B);
  Report(0, 0, 0, 0xFF);
  Report(0, 0, 0, 0x0A);  // unnamed code
  EXPECT_EQ(Log(), (std::vector<std::string>{"00-00-08-0B-05  [ ENTER  ]", "00-00-00-FF-05  [ ---  ]",
                                             "00-00-00-0A-05  [  ]"}));
  // A mask button joining a held code button is named after it, until a
  // release forgets the code button. (ENTER's bit, still the last mask, makes
  // the change two bits: no code is derived.)
  app.ReceiveLog().Clear();
  Report(0, 0, 0, 0x00);
  Report(0, 0x80, 0, 0xFF);
  Report(0, 0, 0, 0xFF);
  Report(0, 0x80, 0, 0xFF);
  EXPECT_EQ(Log(), (std::vector<std::string>{"00-00-00-00-05  [ NUM1  ]", "00-80-00-FF-05  [ NUM1 SQUARE  ]",
                                             "00-00-00-FF-05  [ ---  ]", "00-80-00-FF-05  [ SQUARE  ]"}));
}

TEST_F(DecoderTest, OtherReportIdsAreLoggedAsHexAndStillStored) {
  app.ReceiveLog().Clear();
  Report({0x01, 0xAB}, 2);
  EXPECT_EQ(Log(), std::vector<std::string>{"Rep:01AB"});
  EXPECT_EQ(engine.Decoder().RawReport[0], 0x01);
  EXPECT_EQ(engine.Decoder().RawReport[1], 0xAB);
  EXPECT_TRUE(p.input.events.empty());
}

TEST_F(DecoderTest, CodeIsDerivedFromASingleChangedMaskBitOnly) {
  Report(0, 0x04, 0, 0x5A);  // L1
  app.ReceiveLog().Clear();
  app.MonitorLines().Clear();
  Report(0, 0x0C, 0, 0xFF);  // L1 + R1, no code
  EXPECT_EQ(Log().back(), "00-0C-00-5B-05  [ L1 R1  ]");
  Report(0, 0x04, 0, 0xFF);  // R1 let go: derives R1 again, so PageUp is pressed again
  EXPECT_EQ(Log().back(), "00-04-00-5B-05  [ L1  ]");
  EXPECT_EQ(app.MonitorLines().Lines(), (std::vector<std::string>{"-0xAF", " 0x21", " 0x21"}));
  Report(0x70, 0x04, 0, 0xFF);  // UP, RIGHT and DOWN at once: the release code stays
  EXPECT_EQ(Log().back(), "70-04-00-FF-05  [ UP DOWN RIGHT L1  ]");  // DOWN is named before RIGHT
  EXPECT_EQ(engine.HeldKey(), 0);
}

TEST_F(DecoderTest, SelectWinsOverStartAndHeldBitsCollectTheParamsOfHeldMaskButtons) {
  engine.SwitchToMouseMode();
  Report(0x09, 0, 0, 0xFF);  // SELECT and START
  EXPECT_FALSE(engine.MouseMode());
  EXPECT_EQ(Log(), std::vector<std::string>{"キーボードモード設定されました。"});  // no report line
  EXPECT_EQ(engine.Decoder().PrevMask, 0u);
  Report(0x08, 0, 0, 0x53);
  EXPECT_TRUE(engine.MouseMode());
  EXPECT_EQ(messages.back(), "With MOUSE Mode");
  Report(0x10, 0, 0x08, 0xFF);  // UP and ENTER: up, high speed
  EXPECT_EQ(engine.Decoder().HeldBits, 0x1001);
  Report(0, 0, 0, 0x00);  // NUM1 has no mask bit
  EXPECT_EQ(engine.Decoder().HeldBits, 0);
}

TEST_F(DecoderTest, ShortEmptyAndOversizedReportsStayInBounds) {
  Report(0, 0, 0x08, 0x0B, 7);
  Report({});  // nothing delivered: the previous state is decoded again
  EXPECT_EQ(Log().back(), "00-00-08-0B-07  [ ENTER  ]");
  Report({0x00, 0x00, 0x00});  // mask cleared, code and battery kept
  EXPECT_EQ(Log().back(), "00-00-00-0B-07  [ ENTER  ]");
  std::vector<uint8_t> big(5000, 0x11);
  Report(big, 3);
  EXPECT_EQ(Log().back().size(), 4 + 2 * kRawReportSize);
  engine.RemoteReport(1, nullptr, 40);
}

}  // namespace
}  // namespace corvid
