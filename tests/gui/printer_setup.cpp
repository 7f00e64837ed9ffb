// Adds a PostScript printer (Wine's wineps.drv with a PPD already copied into
// the spooler's driver folders) on the given port and makes it the default.
//   printer_setup PRINTER PPD PORT
#include <windows.h>
#include <winspool.h>

#include <cstdio>

namespace {

bool AddDriver(char* name, char* ppd, char* environment) {
  char driver[] = "wineps.drv";
  DRIVER_INFO_3A info{};
  info.cVersion = 3;
  info.pName = name;
  info.pEnvironment = environment;
  info.pDriverPath = driver;
  info.pDataFile = ppd;
  info.pConfigFile = driver;
  return AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info)) ||
         GetLastError() == ERROR_PRINTER_DRIVER_ALREADY_INSTALLED;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: printer_setup PRINTER PPD PORT\n");
    return 2;
  }
  char x86[] = "Windows NT x86";
  if (!AddDriver(argv[1], argv[2], nullptr) || !AddDriver(argv[1], argv[2], x86)) {
    std::fprintf(stderr, "printer_setup: AddPrinterDriver failed (%lu)\n", GetLastError());
    return 1;
  }
  char processor[] = "WinPrint", datatype[] = "RAW";
  PRINTER_INFO_2A printer{};
  printer.pPrinterName = argv[1];
  printer.pPortName = argv[3];
  printer.pDriverName = argv[1];
  printer.pPrintProcessor = processor;
  printer.pDatatype = datatype;
  printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  HANDLE added = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
  if (!added && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
    std::fprintf(stderr, "printer_setup: AddPrinter failed (%lu)\n", GetLastError());
    return 1;
  }
  if (added) ClosePrinter(added);
  if (!SetDefaultPrinterA(argv[1])) {
    std::fprintf(stderr, "printer_setup: SetDefaultPrinter failed (%lu)\n", GetLastError());
    return 1;
  }
  return 0;
}
