#include "usb/UsbCommands.h"

#include <array>

namespace {
using C = UsbCompletionClass;
constexpr std::array<UsbCommandInfo, 21> kCommands{{
    {CMD_GET_SW_VERSION, "CMD_GET_SW_VERSION", 0, 600, 600, C::A},
    {CMD_SET_TIME_ADJUSTMENT, "CMD_SET_TIME_ADJUSTMENT", 4, 600, 600, C::B},
    {CMD_GET_TIME_ADJUSTMENT, "CMD_GET_TIME_ADJUSTMENT", 0, 600, 600, C::A},
    {CMD_START_GSM_SEND, "CMD_START_GSM_SEND", 0, 600, 240000, C::C},
    {CMD_START_TK_POLL, "CMD_START_TK_POLL", 0, 600, 40000, C::C},
    {CMD_SET_RF_CHANNEL, "CMD_SET_RF_CHANNEL", 1, 600, 600, C::B},
    {0x97, "", 1, 600, 600, C::B},
    {0x99, "", 1, 600, 600, C::B},
    {CMD_GET_DATA_RECORD, "CMD_GET_DATA_RECORD", 4, 600, 600, C::A},
    {CMD_SET_GSM_SEND_PERIOD, "CMD_SET_GSM_SEND_PERIOD", 1, 600, 600, C::B},
    {CMD_SET_TK_POLL_PERIOD, "CMD_SET_TK_POLL_PERIOD", 1, 600, 600, C::B},
    {CMD_SYNC_TIME, "CMD_SYNC_TIME", 0, 24000, 120000, C::C},
    {CMD_SET_TIME, "CMD_SET_TIME", 6, 2000, 2000, C::B},
    {CMD_GET_DATA_STRUCT, "CMD_GET_DATA_STRUCT", 0, 600, 600, C::A},
    {CMD_SET_GSM_CONFIG, "CMD_SET_GSM_CONFIG", 0, 6000, 6000, C::B},
    {CMD_GET_HEADER, "CMD_GET_HEADER", 0, 600, 600, C::A},
    {CMD_GET_CONFIG, "CMD_GET_CONFIG", 0, 600, 600, C::A},
    {0xEB, "", 11, 600, 600, C::B},
    {CMD_CLEAR_MEM, "CMD_CLEAR_MEM", 0, 600, 120000, C::D},
    {CMD_RESET_TO_DEFAULTS, "CMD_RESET_TO_DEFAULTS", 0, 600, 20000, C::D},
    {CMD_REBOOT_NOTICE, "CMD_REBOOT_NOTICE", 0, 600, 40000, C::D},
}};
}  // namespace

const UsbCommandInfo* FindUsbCommand(uint8_t code) {
  for (const auto& c : kCommands)
    if (c.code == code) return &c;
  return nullptr;
}

QString UsbCommandName(uint8_t code) {
  const UsbCommandInfo* info = FindUsbCommand(code);
  if (info && info->name[0] != '\0') return QString::fromLatin1(info->name);
  return QStringLiteral("0x") + Hex2(code);
}

bool InAcknowledgementSet(uint8_t code) {
  const UsbCommandInfo* info = FindUsbCommand(code);
  return info && info->completionClass != UsbCompletionClass::B;
}

QString Hex2(uint8_t value) { return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper(); }
