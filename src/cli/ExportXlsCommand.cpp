#include <cstdio>

#include "cli/CliCommand.h"
#include "cli/CliDataFile.h"
#include "data/DataFileLoader.h"
#include "graph/ExcelExport.h"
#include "graph/XlsWriter.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: tundrabase-cli export-xls FILE.tmd OUT.xls [--logger N]\n");
  return 2;
}

int runExportXls(const QStringList& args) {
  QStringList files;
  int logger = 0;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QStringLiteral("--logger")) {
      bool ok = false;
      if (i + 1 >= args.size()) return usage();
      logger = args[++i].toInt(&ok);
      if (!ok || logger < 0) return usage();
    } else if (args[i].startsWith(QStringLiteral("--"))) {
      return usage();
    } else {
      files << args[i];
    }
  }
  if (files.size() != 2) return usage();

  DataFileContent content;
  if (!CliReadDataFile(files[0], content)) return 1;
  if (!content.endReached) {
    CliError(DataFileLoader::CriticalErrorText(files[0]).section(QStringLiteral("\r\n"), 0, 0));
    return 1;
  }
  if (content.damagedCount > 0) CliError(QStringLiteral("warning: %1 damaged lines skipped").arg(content.damagedCount));
  if (!content.signatureOk) CliError(QStringLiteral("warning: the file's signature is broken"));

  const DataPage page = content.usbFile ? DataPage::Usb : DataPage::Radio;
  QString loggerId;
  if (content.usbFile) {
    if (logger != 0) {
      CliError(QStringLiteral("a USB data file holds logger 0 only"));
      return 2;
    }
    loggerId = content.usbHeader.loggerId;
  } else if (logger < static_cast<int>(content.radioLoggers.size())) {
    loggerId = content.radioLoggers[logger].LoggerId;
  }
  if (!ExcelExport::HasExportData(page, content.set(), logger)) {
    CliError(QStringLiteral("Нет данных для сохранения!"));
    return 1;
  }

  XlsWriter writer;
  writer.setFileName(files[1]);
  ExcelExport::WriteSheet(writer, page, content.set(), logger, loggerId);
  writer.end();
  if (!writer.save()) {
    CliError(QStringLiteral("Файл ") + writer.fileName() + QStringLiteral(" занят другим приложением!"));
    return 1;
  }
  std::printf("%s\n", writer.fileName().toUtf8().constData());
  return 0;
}

const CliCommand kExportXls("export-xls", "export-xls FILE.tmd OUT.xls [--logger N]", runExportXls);

}  // namespace
