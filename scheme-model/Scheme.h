#pragma once
// The settings model: the global section of the model settings file, the page header items and the six item
// lists of the menu definition, and the process-wide values of the settings program.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "GlobalString.h"
#include "LocaleParse.h"
#include "PageCodes.h"
#include "SettingItem.h"
#include "ThreadRWPrinter.h"  // g_iReadCount, g_bReadLast and g_strPrinterIni live with the worker
#include "ValueEncoding.h"
#include "platform/ini_file.h"
#include "platform/types.h"

// The [GlobalSettings] section of the model settings file. A fresh record is all zero: the defaults of the
// keys apply only when a file is loaded, so a model without a model settings file keeps zero values.
struct TTagSections {
    std::int32_t MenuVersion = 0;
    std::wstring PrinterName;
    std::uint32_t nSectionCount = 0;
    std::vector<TSettingSection> Section;
    std::wstring InstructionTail;
    std::wstring EnterInstruction;
    std::wstring SaveInstruction;
    std::wstring InstructionGetValueClass;
    bool AffirmReadDisable = false;
    std::int32_t ReadOnLastFail = 0;
    std::int32_t TimeOutItem = 0;
    std::int32_t TimeOutPage = 0;
    platform::Bytes ReturnPrefix;
    std::uint32_t WriteReadDelay = 0;
    std::uint32_t ReadMenuDelay = 0;
    std::uint32_t SleepBeforeRead = 0;
    bool ClearBeforeReadMenu = false;
    bool MultiReadRetry = false;
    std::uint32_t CleanSleeptime = 0;
    std::uint32_t DeepcleanSleeptime = 0;
    std::uint32_t NewPrinterSleeptime = 0;
    std::uint32_t RollercleanTime = 0;
    std::uint32_t ChangeHeadTime = 0;
    std::uint32_t ChangeBoxTime = 0;
    std::uint32_t DeepcleanIntervaltime = 0;
    TDateTime LastDeepcleantime = 0;
    std::wstring TotalInkQuantity;
    std::wstring WebAddress;
    std::int32_t LenBM = 0;
    std::int32_t LenLock = 0;
};

// The reply buffer of a page read, and the work area its decoder gets.
inline constexpr std::size_t kPageReplySize = 4096;

// The link that ships without a "WebAddress" key.
inline constexpr wchar_t kDefaultWebAddress[] = L"https://www.varintex.example/shop";

// A list longer than this cannot be read back from the printer (a page read counts its items in one byte),
// so the menu loader refuses it.
inline constexpr std::int32_t kMaxMenuItemCount = 255;

class TSchemeOptions2 {
public:
    // Reads [GlobalSettings] and [BaseItemME] when the file exists; else nothing changes.
    void LoadFromFile(const std::wstring& fileName);
    // Nothing for a null file.
    void LoadDriverSettings(const platform::IniFile* iniFile);

    // Reads the menu definition when the file exists; else the lists keep what they held. A SERIAL rule that
    // cannot be expanded or an ItemCount out of range throws platform::Exception: the lists and items after
    // the failing one keep their zero values.
    void LoadPrinterMenu(const std::wstring& fileName);
    // Nothing for a null file.
    void LoadSettings(const platform::IniFile* iniFile);

    // Item access by page code and index. A page code outside the model's table is a page without items and
    // without a header item. Items are copies: a changed current value goes back through
    // SetItem_ValueCurrent.
    TSettingItem GetIndexItem(std::uint8_t byPage) const;
    // Copies the item into item and returns true; an index outside the page's list leaves item as it was.
    bool GetItem(std::uint8_t byPage, std::int32_t iIndex, TSettingItem& item) const;
    // The same as a value: an empty item for an index outside the list.
    TSettingItem GetItem(std::uint8_t byPage, std::int32_t iIndex) const;
    std::int32_t GetItemLength(std::uint8_t byPage) const;
    // The text shown for a value of the item: the rule title of that value (the last one wins among equal
    // values) for widths 1 and 2; for a multi-select item the chosen option numbers joined by ", ", or the
    // localised NO text when none is chosen; empty otherwise.
    std::wstring GetTitleFromValue(std::uint8_t byPage, std::int32_t iIndex, std::int32_t iValue) const;
    void SetItem_ValueCurrent(std::uint8_t byPage, std::int32_t iIndex, std::int32_t iValue);
    // Called by the exchange worker on its thread while the user-interface thread waits for it.
    void SetAffirmReadDisableStatus(bool bStatus);

    // ---- printer exchange ------------------------------------------------------------------------------
    // One write-then-read exchange on a worker thread, the user-interface thread handling window messages
    // meanwhile (a 50 ms sleep between polls). bufferSize is the buffer's size minus one; readLength is the
    // count asked of the printer on entry and the count handed over on return (unchanged when nothing is
    // handed over, 0 when the reply is longer than the buffer). iTimeOut is an extra to TimeOutPage; once a
    // read has failed in the run (AffirmReadDisable) every exchange reads with 1500 ms instead. bFindPrefix
    // hands the reply over from its first frame head; handedOver, when given, tells whether a reply was
    // copied into buffer. The result is the worker's.
    bool DoWriteAndReadPrinter(std::int32_t iUSBPrinter,
                               const std::wstring& strWriteHex,
                               std::uint8_t* buffer,
                               std::int32_t bufferSize,
                               std::int32_t& readLength,
                               bool bReadData,
                               bool bResetFirst,
                               std::int32_t iTimeOut,
                               bool bFindPrefix,
                               bool* handedOver = nullptr);
    // The same on the printer (queue) of that name: False at once, nothing touched and no worker started,
    // unless the printer is online on a port whose name contains "USB".
    bool DoWriteAndReadPrinter(const std::wstring& strPrinterName,
                               const std::wstring& strWriteHex,
                               std::uint8_t* buffer,
                               std::int32_t bufferSize,
                               std::int32_t& readLength,
                               bool bReadData,
                               bool bResetFirst,
                               std::int32_t iTimeOut,
                               bool bFindPrefix,
                               bool* handedOver = nullptr);
    // Raw bytes to the printer g_strPrinterName, without reading a reply. An unknown or offline printer gets
    // the PrinterNotFound box and False.
    bool WritePrinter(const std::uint8_t* pBufWrite, std::int32_t nBufWrite);
    // The same, then the reply into buffer; readLength is the count handed over, 0 when there is none.
    bool WriteAndReadPrinter(const std::uint8_t* pBufWrite,
                             std::int32_t nBufWrite,
                             std::uint8_t* buffer,
                             std::int32_t bufferSize,
                             std::int32_t& readLength,
                             bool bFindPrefix);

    // ---- value reads and the values file ---------------------------------------------------------------
    // The value of the item g_byPage and g_iItem select, from the USB printer iUSBPrinter. False (value
    // unchanged) when the exchange fails, the reply lacks ReturnPrefix or is cut before its value bytes; a
    // value type byte other than 1, 2 or 3 leaves the value unchanged with True.
    bool GetItemValueFromUSBPrinter(std::int32_t iUSBPrinter, std::int32_t& iPrinterItemValue);
    // Every value of the page in one exchange, into the items' ValueCurrent. False (nothing changed) when the
    // exchange fails or the reply lacks ReturnPrefix.
    bool GetPrinterValues_ForPage(std::int32_t iUSBPrinter, std::uint8_t byPage);
    // The same read for a caller that shows the page's values: after a successful read only values the reply
    // named are held (a reply of 6 bytes or fewer names none), so a value from the menu is never shown as the
    // printer's; a failed read changes nothing, as above.
    bool GetPrinterValuesAfresh_ForPage(std::int32_t iUSBPrinter, std::uint8_t byPage);
    // Decodes a page reply that starts with its head at data[0] and is nLength bytes long. A reply of more
    // than 6 bytes sets every item of the page: kNoPrinterValue for those it does not mention. An entry whose
    // value type byte is not 1, 2 or 3 ends the decoding (the entries after it cannot be located).
    void SetAllCurrentValues_ForPage(const std::array<std::uint8_t, kPageReplySize>& data,
                                     std::int32_t nLength,
                                     std::uint8_t byPage);
    // Deletes the values file, reads the page from the printer g_strPrinterName and writes the file anew; no
    // file when the printer is not online on a USB port or the read fails. Only values this read brought are
    // written (GetPrinterValuesAfresh_ForPage).
    void CreatePrinterValuesIni_ForPage(std::uint8_t byPage);

    // ---- menu fetch ------------------------------------------------------------------------------------
    // Fetches the menu from the printer g_strPrinterName into the menu file (g_strPrinterPath + ".DAT"),
    // recording the model name it reports in [PrinterInfo], with the waiting window shown throughout. True
    // only when the menu file has been written; after any failure there is no menu file.
    bool GetPrinterMenuResources();

    TTagSections m_Sections;
    std::wstring m_strLangStrTail;
    std::array<TSettingItem, kIndexItemCount> m_IndexItems;
    ArrSettingItems m_BaseItems;
    ArrSettingItems m_AdvanceItems;
    ArrSettingItems m_Maintenance;
    ArrSettingItems m_CustomItems;
    ArrSettingItems m_CustomItems2;
    ArrSettingItems m_CustomItems64;

private:
    // Both raw-byte wrappers.
    bool WriteRawBytes(const std::uint8_t* pBufWrite,
                       std::int32_t nBufWrite,
                       bool bReadData,
                       std::int32_t iTimeOut,
                       std::uint8_t* buffer,
                       std::int32_t bufferSize,
                       std::int32_t& readLength,
                       bool bFindPrefix);

    // The list a page code selects; null for a page code the model does not know.
    const ArrSettingItems* ItemsOfPage(std::uint8_t byPage) const;
    ArrSettingItems* ItemsOfPage(std::uint8_t byPage);
};

// Name, Icon, Title and Note of a menu item from its section; suffix is the language tail of the localised
// keys ("Title.EN"). Every item and page header of the menu and the model settings file is read so.
void ReadHeaderItem(const platform::IniFile& ini,
                    const std::wstring& section,
                    const std::wstring& suffix,
                    TSettingItem& item);

// A value's title as the values file and the main window show it: up to and including the blank of its first
// " (", so that the unit or range in brackets stays out; a title without one is kept whole.
std::wstring DisplayTitle(const std::wstring& title);

// Lets the exchange worker reach whatever model g_SchemeOptions holds at the time of the exchange. Called once
// at start-up, before the first exchange; calling it again changes nothing.
void InstallSchemeOptionsForWorker();

// The model in use; replaced (and the old one freed) when port mode loads its default scheme.
extern std::unique_ptr<TSchemeOptions2> g_SchemeOptions;
// The model settings file in use.
extern std::wstring g_strSchemeFile;
// The model name the printer reported in its last good model reply.
extern std::wstring g_strModelName;
// The printer (queue) name from the command line.
extern std::wstring g_strPrinterName;
// The exchange folder followed by the printer name: the values file, and the base of the per-printer names.
extern std::wstring g_strPrinterPath;
// The menu file fetched from the printer: g_strPrinterPath + ".DAT".
std::wstring PrinterMenuFile();
// The current page code and the page code of the start.
extern std::uint8_t g_byPage;
extern std::uint8_t g_byStartPage;
// The current item index within the page.
extern std::int32_t g_iItem;
// The port file that port mode writes to.
extern std::wstring g_strLocalPortFile;
// True once the start-up has fetched the menu from the printer in this run.
extern bool g_bMenuFetched;
// The ink state file; empty until the main window has been shown.
extern std::wstring g_strInkIni;

// Puts every process-wide value of the model's module back as it is at program start: the ones above,
// g_GlobalString and the waiting-window hook. The program never calls it; it lets one process run many starts.
void ResetSchemeGlobals();
