#pragma once
// The ink state file: "InkSetting.ini" in a folder named after the serial number of the USB printer that the
// port library lists last, under the common application-data folder. The main window prepares it each time
// it shows; the ink maintenance actions prepare it the same way before they read or update it.
//
//   [Settings]
//   LastDeepcleantime=2017/07/07 10:10:33   time of the last deep cleaning ("yyyy/mm/dd hh:nn:ss")
//   Degree=0                                number of deep cleanings done
//
// User-interface thread; asks the port library for its printers (which may raise its missing-module error).

#include <string>

// Creates the folder with every missing parent; raises platform::Exception ("Unable to create directory ...")
// when it cannot, which the application reports in its error box.
void CreateFolder(const std::wstring& folder);

// The serial of the last USB printer the port library lists: the 10 characters from the 27th of its device
// path ("\\?\usb#vid_XXXX&pid_YYYY#" is 26 long, so these are the serial number's first ten); empty when the
// library lists none.
std::wstring LastUsbPrinterSerial();

// Creates the common application-data folder when missing, then the printer's folder (one level); when it
// had to be created, writes the file with the two keys above. An existing folder is left alone, even without
// the file. Returns the file's path. A folder that cannot be created raises platform::Exception, which the
// application reports in its error box; no file is written then.
std::wstring PrepareInkStateFile();
