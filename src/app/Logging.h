#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

class UserPrompt;

/// The diagnostic switch: true exactly when "logging.on" lay beside the program at start.
/// Set once while the main window is created; never changes during a run.
bool LoggingOn();
void SetLoggingOn(bool on);
/// Looks for the marker file in the given folder (the program's folder).
bool LoggingMarkerPresent(const QString& programDir);

/// The program file's path with ".log" in place of its extension.
QString DefaultLogFileName();

/// Appends "dd/mm/yyyy hh:nn:ss.zzz: message" and CR LF to fileName (the default log when
/// empty), creating the file. Opens and closes the file on every call so lines survive a
/// crash. Returns false when the file could not be opened or written. Thread-safe for
/// distinct files; the radio thread writes only its own file.
bool WriteLogLine(const QString& message, const QString& fileName = QString());

/// One line of count bytes as "0A FF " pairs, passed to WriteLogLine.
bool WriteHexDump(const uint8_t* data, size_t count, const QString& fileName = QString());

/// '0'..'9', 'A'..'F' for 0..15. Any other value shows a plain box (when a prompt is given)
/// and yields '0'.
char bin2char(uint8_t value, UserPrompt* prompt = nullptr);
