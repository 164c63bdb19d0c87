#include "GlobalString.h"

#include <array>
#include <optional>

#include "platform/files.h"
#include "platform/locale.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/resources.h"
#include "platform/text.h"

TGlobalString g_GlobalString;

namespace {

using S = TGlobalString;

// The one list of the table's keys. Some defaults differ from the table's English texts on purpose: they are
// what the program has always shown when a key is missing.
constexpr std::array<TGlobalStringKey, 100> kKeys{{
    {L"CurrentValue", &S::CurrentValue, L"Current :"},
    {L"OutOfIndex", &S::OutOfIndex, L"Index out of range!"},
    {L"NO", &S::NO, L"NO"},
    {L"ReadingPrinter", &S::ReadingPrinter, L"Reading printer"},
    {L"WaitingForPrinterRW", &S::WaitingForPrinterRW, L"Communicating with the printer, please wait"},
    {L"PrinterNotOnline", &S::PrinterNotOnline, L"The printer is not online"},
    {L"HintTitle", &S::HintTitle, L"Hint"},
    {L"ErrorTitle", &S::ErrorTitle, L"Error"},
    {L"ReadPrinterFailRetry", &S::ReadPrinterFailRetry,
     L"Failed to read the settings menu from the printer!\\r\\nPlease make sure the printer is online and try "
     L"again."},
    {L"ReadTimeout", &S::ReadTimeout,
     L"The printer establishes a value to read super! \\r\\nPlease confirm a printer to support this function, and "
     L"print a cable exactitude connectivity."},
    {L"PrinterNotFound", &S::PrinterNotFound,
     L"No printer is found!\\r\\nPlease make sure the interface cable is connected correctly and the printer is "
     L"ONLINE."},
    {L"SetPrinterSuccess", &S::SetPrinterSuccess, L"Already successfully set the printer."},
    {L"SetPrinterTimeout", &S::SetPrinterTimeout,
     L"Confirming the setting timed out!\\r\\nPlease confirm that the printer supports this function and the "
     L"cable is connected correctly."},
    {L"SetPrinterFail", &S::SetPrinterFail,
     L"Confirming the setting timed out!\\r\\nPlease confirm that the printer supports this function and the "
     L"cable is connected correctly."},
    {L"SetPrinterCantAffirm", &S::SetPrinterCantAffirm,
     L"The settings were sent, but the printer's current values could not be read to confirm them.\\r\\nPlease "
     L"confirm that the printer supports this function and the cable is connected correctly.\\r\\n(Some items "
     L"take effect only after the printer is restarted.)"},
    {L"SetPrinterFailRetry", &S::SetPrinterFailRetry, L"Printer setup failure, please try again later!"},
    {L"HaveToSelectAnItem", &S::HaveToSelectAnItem, L"Please select an option first!"},
    {L"PrinterStatusError", &S::PrinterStatusError,
     L"Parameter reading failure! The printer may be offline or out of paper.\\r\\nThe parameter can not be "
     L"confirmed."},
    {L"PrinterNotFoundOnPort", &S::PrinterNotFoundOnPort,
     L"Error found, didn't find out an appointed printer!Please the port of selecting the exactitude!"},
    {L"CanSelectAnItem", &S::CanSelectAnItem, L"Can select a value, use a mouse to click an item."},
    {L"CanSelectMultiItem", &S::CanSelectMultiItem,
     L"Can select or cancel several values, use a mouse to click an item."},
    {L"StarorCancel", &S::StarorCancel,
     L"Please confirm your job has finished.\\r\\nPress yes to continue your printing,press no to do it again."},
    {L"LoadPaper", &S::LoadPaper, L"Please load paper."},
    {L"WaitingForPrinterWork", &S::WaitingForPrinterWork, L"Printer is working, please wait."},
    {L"Clean", &S::Clean, L"Click OK to clean the print head."},
    {L"DeepClean", &S::DeepClean, L"Deep cleaning uses more ink.\\r\\nClick OK to start deep cleaning."},
    {L"DeepCleanInterval", &S::DeepCleanInterval, L"You can not use Deepclean within 12 hours."},
    {L"Holecheck", &S::Holecheck, L"Click OK to print the nozzle check pattern."},
    {L"Adjust", &S::Adjust, L"Click OK to print the checkpage."},
    {L"BearingClean", &S::BearingClean, L"Click OK to clean the bearing."},
    {L"InkFinish", &S::InkFinish, L"Finish."},
    {L"CleanFinish", &S::CleanFinish, L"Cleaning finished."},
    {L"DeepCleanFinish", &S::DeepCleanFinish, L"Deep cleaning finished."},
    {L"SetPrinterSuccessI", &S::SetPrinterSuccessI, L"Already successfully set the printer."},
    {L"GuideTitle", &S::GuideTitle, L"Guide"},
    {L"CleanNewprinter", &S::CleanNewprinter,
     L"New printer: click OK to run the initial cleaning and print a self-test page."},
    {L"btnNewPrinter", &S::btnNewPrinter, L"New Printer"},
    {L"btnInkset", &S::btnInkset, L"Start"},
    {L"btnInkCancel", &S::btnInkCancel, L"Cancel"},
    {L"InkInfoTitle", &S::InkInfoTitle, L"Ink Information"},
    {L"CleanInfo", &S::CleanInfo, L"Cleaning the print head improves the print quality and uses a little ink."},
    {L"Step1", &S::Step1, L"Dismount the printhead."},
    {L"Step2", &S::Step2, L"Take the protective tape off the new printhead."},
    {L"Step3", &S::Step3, L"Mount the new printhead."},
    {L"Step4", &S::Step4, L"Close the cover."},
    {L"Step5", &S::Step5, L"Finish!"},
    // The cartridge steps have always fallen back on the head steps' texts.
    {L"bStep1", &S::bStep1, L"Dismount the printhead."},
    {L"bStep2", &S::bStep2, L"Take the protective tape off the new printhead."},
    {L"bStep3", &S::bStep3, L"Mount the new printhead."},
    {L"bStep4", &S::bStep4, L"Close the cover."},
    {L"bStep5", &S::bStep5, L"Finish!"},
    {L"A4Step1", &S::A4Step1, L"Open the cover and release the printhead lever."},
    {L"A4Step2", &S::A4Step2, L"Remove the old printhead."},
    {L"A4Step3", &S::A4Step3, L"Mount the new printhead and lock the lever."},
    {L"A4Step4", &S::A4Step4, L"Close the cover."},
    {L"A4Step5", &S::A4Step5, L"Open the cover, replace the ink cartridge and close the cover."},
    {L"btnInkPrn", &S::btnInkPrn, L"Print"},
    {L"IfNewPrint", &S::IfNewPrint, L"Is this a new printer?"},
    {L"Back", &S::Back, L"Back"},
    {L"Next", &S::Next, L"Next"},
    {L"BtnClean", &S::BtnClean, L"Clean"},
    {L"Page", &S::Page, L"Print Page"},
    {L"PageInfo", &S::PageInfo, L"Printed\\r\\n \\r\\n page"},
    {L"InkInfo", &S::InkInfo, L"Remainder Ink"},
    {L"DraftPrint", &S::DraftPrint, L"Draft Print"},
    {L"NormalPrint", &S::NormalPrint, L"Normal and Quality"},
    {L"QualityPrint", &S::QualityPrint, L"Quality Print"},
    {L"InstallInk", &S::InstallInk, L"Please install the ink cartridge."},
    {L"HolecheakTitle", &S::HolecheakTitle, L"Nozzle Check"},
    {L"HolecheakInfo", &S::HolecheakInfo, L"Check the printed pattern. If lines are missing, clean the print head."},
    {L"InkWarning", &S::InkWarning, L"Ink is low. Please replace the ink cartridge soon."},
    {L"Testpage", &S::Testpage, L"Test Page"},
    {L"InkWaitStr", &S::InkWaitStr, L"Processing, please wait..."},
    {L"mPrintQueue", &S::mPrintQueue,
     L"There are jobs in the print queue.\\r\\nPlease clear the print queue before changing the printer "
     L"settings."},
    {L"SpecialNoteTitle", &S::SpecialNoteTitle, L"Warning"},
    {L"SpecialNote", &S::SpecialNote,
     L"The following are advanced settings. A wrong value may stop the printer from working properly. Do you "
     L"want to continue?"},
    {L"OnlyForTechnical", &S::OnlyForTechnical, L"For technical staff only!"},
    {L"ParametersCaption", &S::ParametersCaption, L"Parameter picking"},
    {L"ParametersTitle", &S::ParametersTitle, L"The Parameter of picking :"},
    {L"ParametersNoteTitle", &S::ParametersNoteTitle, L"Explanation :"},
    {L"ParametersBtnSet", &S::ParametersBtnSet, L"Set"},
    {L"ParametersBtnCancel", &S::ParametersBtnCancel, L"Cancel"},
    {L"ParametersBtnReturn", &S::ParametersBtnReturn, L"Return"},
    {L"ParametersBtnDefault", &S::ParametersBtnDefault, L"Default"},
    {L"ParametersBtnOK", &S::ParametersBtnOK, L"OK"},
    {L"MainCaption", &S::MainCaption, L"setup of parameter"},
    {L"Group64_Name1", &S::Group64_Name1, L"Top of form (cut sheet):"},
    {L"Group64_Name2", &S::Group64_Name2, L"Opened booklet height:"},
    {L"Group64_Name3", &S::Group64_Name3, L"Left margin:"},
    {L"Group64_Name4", &S::Group64_Name4, L"Copy layers:"},
    {L"Group64_Name21", &S::Group64_Name21, L""},
    {L"Group64_btnDetect", &S::Group64_btnDetect, L"Detect"},
    {L"Group64_Info", &S::Group64_Info,
     L"Sets the paper layout of booklets and cards. Type the height of the opened booklet page, or insert the "
     L"booklet and click Detect to let the printer measure it."},
    {L"PutTheCard", &S::PutTheCard, L"Please insert the booklet into the printer, then click OK to measure it."},
    {L"PaperLengthInvalid", &S::PaperLengthInvalid, L"The page length is invalid. Please enter a number."},
    {L"Inch", &S::Inch, L"inch"},
    {L"Layer", &S::Layer, L"-ply"},
    {L"Auto", &S::Auto, L"Auto"},
    {L"ON_", &S::ON_, L"ON"},
    {L"OFF", &S::OFF, L"OFF"},
}};

constexpr std::array<const wchar_t*, 4> kLanguageCodes{L"CN", L"CHT", L"EN", L"JP"};

// The system default language, never the user's: the program's texts follow the machine's locale.
TProgramLanguage LanguageOf(std::uint16_t langId) {
    switch (langId) {
        case 1028:  // Chinese (Taiwan)
        case 3076:  // Chinese (Hong Kong)
        case 5124:  // Chinese (Macao)
            return plCHT;
        case 2052:  // Chinese (PRC)
        case 4100:  // Chinese (Singapore)
            return plCN;
        case 1041:
            return plJP;
        default:
            return plEN;
    }
}

void Fail(std::wstring* errorText, std::wstring message) {
    if (errorText) {
        *errorText = std::move(message);
    }
}

}  // namespace

std::span<const TGlobalStringKey> GlobalStringKeys() {
    return kKeys;
}

std::wstring AddLanguageCode(const std::wstring& text) {
    const auto index = static_cast<std::size_t>(g_GlobalString.Language);
    return text + (index < kLanguageCodes.size() ? kLanguageCodes[index] : kLanguageCodes[plEN]);
}

std::wstring UnescapeLineBreaks(const std::wstring& text) {
    return platform::ReplaceAll(text, L"\\r\\n", L"\r\n");
}

bool LoadGlobalStrings(const std::wstring& resourceName, std::wstring* errorText) {
    g_GlobalString.Language = LanguageOf(platform::locale().SystemDefaultLangId());

    const std::optional<platform::Bytes> table =
        platform::resources().Find(resourceName, platform::ResourceType::RCData);
    if (!table) {
        Fail(errorText, L"Resource " + resourceName + L" not found");
        return false;
    }

    platform::FileSystem& files = platform::files();
    const std::wstring folder = files.LongPathName(files.TempFolder());
    const std::wstring path = files.CreateUniqueTempFile(folder, L"tmp");
    if (path.empty()) {
        Fail(errorText, L"Cannot create a temporary file in \"" + folder + L"\".");
        return false;
    }
    if (!files.WriteWholeFile(path, *table)) {
        files.DeleteFile(path);
        Fail(errorText, L"Cannot write the temporary file \"" + path + L"\".");
        return false;
    }

    const std::wstring suffix = AddLanguageCode(L".");
    platform::Profile& profile = platform::profile();
    for (const TGlobalStringKey& key : kKeys) {
        g_GlobalString.*key.Field =
            UnescapeLineBreaks(profile.ReadString(path, L"Infos", key.Name + suffix, key.Default));
    }

    files.DeleteFile(path);
    return true;
}
