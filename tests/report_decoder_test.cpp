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

// What the receive log says of each report is in the recorded sessions.
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
