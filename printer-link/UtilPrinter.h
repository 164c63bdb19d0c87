#pragma once
// Free functions shared by the model and the dialogs for everything between a printer name and the bytes on
// the wire. None keeps state between calls; each opens and closes what it uses, and reports failure through
// its result only (a missing port library raises platform::ExternalException, as every library call does).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

// First offset of pattern in data, -1 when it is not there (or data is shorter than the pattern).
std::int32_t FindBytePattern(const std::uint8_t* pattern,
                             const std::uint8_t* data,
                             std::int32_t patternLength,
                             std::int32_t dataLength);

// The USB index of a spooler port (its place among the listed USB printers), -1 when not listed.
std::int32_t GetUSBPrinterIndex(const std::wstring& portName);

// The options file's port list into display names and the paths to write to; the count of portFiles, -1 when
// a list is missing.
std::int32_t ParseLocalPorts(const std::wstring& localPorts,
                             std::vector<std::wstring>* portNames,
                             std::vector<std::wstring>* portFiles);

// Appends one entry per USB printer whose device id names its model: manufacturer + model + separator +
// port name to names, its device path to files. The count of names.
std::int32_t EnumUSBPrinters(std::vector<std::wstring>& names,
                             std::vector<std::wstring>& files,
                             const std::wstring& separator);

// The value of an IEEE 1284 device id entry such as "MDL:"; false (value unchanged) when the key is absent.
bool GetDeviceIdValue(const std::wstring& deviceId, const std::wstring& key, std::wstring& value);

// What becomes of a pair of characters that is not two hexadecimal digits.
enum class BadHexPair {
    Dropped,   // it vanishes from the bytes
    ZeroByte,  // it keeps its place as a zero byte (the worker's command text)
};
// Which characters make the pairs.
enum class HexPairSource {
    SystemCodePage,  // the text as the system code page spells it in 8-bit characters
    Characters,      // the text's own characters
};

// Hex command text ("1B 1D 1E 05 01 1B 1D 1F") to bytes; blanks and tabs are ignored and an odd last
// character is too. By default the pairs are read in the system code page and bad pairs vanish.
platform::Bytes HexTextToBytes(const std::wstring& hexText,
                               BadHexPair badPair = BadHexPair::Dropped,
                               HexPairSource source = HexPairSource::SystemCodePage);

bool SendRawPrintJob(const std::wstring& printerName, const platform::Bytes& data, const std::wstring& docName);
bool WriteToPortFile(const std::uint8_t* data, std::int32_t length, const std::wstring& portFile);
// Writes without reading a reply, allowing the library 2000 ms.
bool WriteUSBPrinter(const platform::Bytes& data, std::int32_t iUSBPrinter);

// The model settings file of an installed printer, from its driver's name.
bool GetSchemeFile(const std::wstring& printerName, std::wstring& fileName);
bool GetPrinterPort(const std::wstring& printerName, std::wstring& portName, bool& bOnline);
// No port counts as blocked: the read paths that ask always go on.
bool IsPortBlocked(const std::wstring& portName);
