#pragma once

#include <QString>

#include <cstdint>

/// Text of a logger's configuration error code ("Нет ошибок" for 0); empty for a code
/// without text.
QString UsbErrorCodeText(int code);
