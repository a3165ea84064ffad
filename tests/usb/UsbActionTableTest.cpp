#include <gtest/gtest.h>

#include "usb/UsbActionTable.h"
#include "usb/UsbState.h"

namespace {

TEST(UsbActionTableTest, EnabledActionsPerState) {
  using A = UsbAction;
  // Columns: Connect, Disconnect, Download, Cancel, StartMeas, Erase, GsmSend, Read, Write,
  // Reset, FileOpen, FileSave, PcTime, GsmTime.
  const std::vector<std::pair<uint8_t, std::string>> table = {
      {PSUsbNotConnected, "10000000000000"}, {PSUsbFileData, "10000000000000"},
      {PSUsbInit, "01000000000000"},  // Disconnect stays reachable while connecting
      {PSUsbReady, "01101111111111"},        {PSUsbReadSettings, "01000000000000"},
      {PSUsbDownloadData, "01010000000000"},
  };
  std::vector<std::pair<uint8_t, std::string>> rows = table;
  for (uint8_t busy : {PSUsbResetToDefaults, PSUsbClearMem, PSUsbWriteSettings, PSUsbPcTimeSync, PSUsbGsmTimeSync,
                       PSUsbGsmSend, PSUsbStartMeas}) {
    EXPECT_TRUE(UsbStateBusy(busy));
    rows.push_back({busy, "01000000000000"});
  }
  for (const auto& [state, row] : rows) {
    std::string got;
    for (int a = 0; a < kUsbActionCount; ++a) got += UsbActionEnabled(state, static_cast<A>(a)) ? '1' : '0';
    EXPECT_EQ(got, row) << UsbStateName(state).toStdString();
  }
  EXPECT_FALSE(UsbActionEnabled(PSUsbReady, A::StartGsmSending, false));
  EXPECT_FALSE(UsbActionEnabled(PSUsbReady, A::GsmTimeSync, false));
  EXPECT_TRUE(UsbActionEnabled(PSUsbReady, A::PcTimeSync, false));
  EXPECT_EQ(UsbActionObjectName(A::ConfigFileSaveAs), "ActionConfigFileSaveAs");
  EXPECT_EQ(UsbStateName(PSUsbFileData), "PSUsbFileData");
}

}  // namespace
