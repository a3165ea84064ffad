#pragma once

#include <QString>

#include "data/DataFileParser.h"

/// Reads a data file for a command-line command the way the program opens it. On failure
/// prints the program's message to stderr and returns false (exit code 1). A file that
/// could not be read to its end is returned with endReached false; the caller decides.
bool CliReadDataFile(const QString& fileName, DataFileContent& content);

/// Prints text and a line break to stderr in UTF-8.
void CliError(const QString& text);

/// "YYYY-MM-DDThh:mm:ss" of a day count.
QString CliIsoTime(double value);
