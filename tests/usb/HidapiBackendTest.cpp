#include <gtest/gtest.h>

#include "usb/HidReportDescriptor.h"
#include "usb/HidapiBackend.h"
#include "usb/UsbCommands.h"

namespace {

// Without hardware: enumeration gives nothing or real devices, and every device it lists
// carries the identifiers asked for.
TEST(HidapiBackendTest, EnumerationWithoutHardwareIsSafe) {
  HidapiBackend backend;
  for (const HidDeviceInfo& info : backend.enumerate(USB_LOGGER_VENDOR_ID, USB_LOGGER_PRODUCT_ID)) {
    EXPECT_EQ(info.vendorId, USB_LOGGER_VENDOR_ID);
    EXPECT_EQ(info.productId, USB_LOGGER_PRODUCT_ID);
    EXPECT_FALSE(info.path.isEmpty());
  }
  backend.enumerate(0, 0);
  HidDeviceInfo missing;
  missing.path = QStringLiteral("/dev/hidraw-none");
  EXPECT_EQ(backend.open(missing), nullptr);
  backend.watch(USB_LOGGER_VENDOR_ID, USB_LOGGER_PRODUCT_ID);
}

QByteArray descriptor(std::initializer_list<int> bytes) {
  QByteArray d;
  for (int b : bytes) d += static_cast<char>(b);
  return d;
}

TEST(HidReportDescriptorTest, LongestOutputReport) {
  // Vendor page, input reports 4 and 6, output reports 5 and 7 of 64 bytes each.
  const QByteArray logger = descriptor({0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x40,
                                        0x85, 0x04, 0x09, 0x01, 0x81, 0x02, 0x85, 0x06, 0x09, 0x01, 0x81, 0x02,
                                        0x85, 0x05, 0x09, 0x01, 0x91, 0x02, 0x85, 0x07, 0x09, 0x01, 0x91, 0x02,
                                        0xC0});
  EXPECT_EQ(HidReportDescriptor::maxOutputReportLength(logger), 65);
  // No report IDs, 8-byte output report.
  EXPECT_EQ(HidReportDescriptor::maxOutputReportLength(descriptor({0x75, 0x08, 0x95, 0x08, 0x91, 0x02})), 9);
  // Input only, truncated and empty descriptors.
  EXPECT_EQ(HidReportDescriptor::maxOutputReportLength(descriptor({0x75, 0x08, 0x95, 0x08, 0x81, 0x02})), 0);
  EXPECT_EQ(HidReportDescriptor::maxOutputReportLength(descriptor({0x75, 0x08, 0x96, 0x40})), 0);
  EXPECT_EQ(HidReportDescriptor::maxOutputReportLength(QByteArray()), 0);
}

}  // namespace
