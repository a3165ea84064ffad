#pragma once

#include <QString>

#include <cstdint>

/// Command codes of the USB logger protocol (HID output report 7, byte 1).
constexpr uint8_t CMD_GET_SW_VERSION = 0x6E;
constexpr uint8_t CMD_SET_TIME_ADJUSTMENT = 0x7D;
constexpr uint8_t CMD_GET_TIME_ADJUSTMENT = 0x7E;
constexpr uint8_t CMD_START_GSM_SEND = 0x8D;
constexpr uint8_t CMD_START_TK_POLL = 0x8E;
constexpr uint8_t CMD_SET_RF_CHANNEL = 0x95;
constexpr uint8_t CMD_GET_DATA_RECORD = 0xAE;
constexpr uint8_t CMD_SET_GSM_SEND_PERIOD = 0xBA;
constexpr uint8_t CMD_SET_TK_POLL_PERIOD = 0xBB;
constexpr uint8_t CMD_SYNC_TIME = 0xBC;
constexpr uint8_t CMD_SET_TIME = 0xBD;
constexpr uint8_t CMD_GET_DATA_STRUCT = 0xC9;
constexpr uint8_t CMD_SET_GSM_CONFIG = 0xCA;
constexpr uint8_t CMD_GET_HEADER = 0xCB;
constexpr uint8_t CMD_GET_CONFIG = 0xCE;
constexpr uint8_t CMD_CLEAR_MEM = 0xEC;
constexpr uint8_t CMD_RESET_TO_DEFAULTS = 0xED;
constexpr uint8_t CMD_REBOOT_NOTICE = 0xEE;

/// Status byte (Cmd packet byte 1) of task answers.
constexpr uint8_t USB_STATUS_DONE = 0x55;
constexpr uint8_t USB_STATUS_ACCEPTED = 0x88;

/// HID report IDs.
constexpr uint8_t USB_REPORT_DATA_OUT = 5;   ///< configuration data report (CMD_SET_GSM_CONFIG payload)
constexpr uint8_t USB_REPORT_CMD_OUT = 7;    ///< command report
constexpr uint8_t USB_REPORT_CMD_IN = 6;     ///< Cmd packet: echo + status or answer length
constexpr uint8_t USB_REPORT_DATA_IN = 4;    ///< Data packet: answer bytes

constexpr uint16_t USB_LOGGER_VENDOR_ID = 0x0483;
constexpr uint16_t USB_LOGGER_PRODUCT_ID = 0x5750;

/// Size of the CMD_SET_GSM_CONFIG payload and of the part of each data report it fills.
constexpr int USB_GSM_CONFIG_SIZE = 428;
constexpr int USB_DATA_REPORT_CHUNK = 63;

/// How the input reports answering a command are judged (transport algorithm):
/// A data answer (Data packets, then the echo), B echo only, C accepted echo then done echo,
/// D echo with 0x88 then echo with 0x55.
enum class UsbCompletionClass { A, B, C, D };

struct UsbCommandInfo {
  uint8_t code;
  const char* name;        ///< protocol name; empty for the unnamed codes
  int payloadBytes;
  int timeout1Ms;          ///< until the acknowledgement (or the answer for class B)
  int timeout2Ms;          ///< after the acknowledgement, between Data packets
  UsbCompletionClass completionClass;
};

/// The command table; nullptr for a code the writer does not accept.
const UsbCommandInfo* FindUsbCommand(uint8_t code);

/// "CMD_GET_HEADER" and so on; "0x97" for an unnamed or unknown code.
QString UsbCommandName(uint8_t code);

/// Codes of classes A, C and D: they pass through Acknowledged before Done.
bool InAcknowledgementSet(uint8_t code);

/// Two upper-case hexadecimal digits.
QString Hex2(uint8_t value);
