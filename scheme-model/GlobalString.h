#pragma once
// The program's localised texts: one process-wide record, filled once at start-up from the embedded
// localisation table in the language of the system (not of the user), read-only afterwards.

#include <cstdint>
#include <span>
#include <string>

enum TProgramLanguage : std::uint8_t { plCN, plCHT, plEN, plJP };

// Each text field is filled from the table key of the same name followed by the language suffix, so the
// field list is the key list; GlobalStringKeys() walks it in this order.
struct TGlobalString {
    TProgramLanguage Language = plCN;
    std::wstring CurrentValue;
    std::wstring OutOfIndex;
    std::wstring NO;
    std::wstring ReadingPrinter;
    std::wstring WaitingForPrinterRW;
    std::wstring PrinterNotOnline;
    std::wstring HintTitle;
    std::wstring ErrorTitle;
    std::wstring ReadPrinterFailRetry;
    std::wstring ReadTimeout;
    std::wstring PrinterNotFound;
    std::wstring SetPrinterSuccess;
    std::wstring SetPrinterTimeout;
    std::wstring SetPrinterFail;
    std::wstring SetPrinterCantAffirm;
    std::wstring SetPrinterFailRetry;
    std::wstring HaveToSelectAnItem;
    std::wstring PrinterStatusError;
    std::wstring PrinterNotFoundOnPort;  // holds one "%s": the port name
    std::wstring CanSelectAnItem;
    std::wstring CanSelectMultiItem;
    std::wstring StarorCancel;
    std::wstring LoadPaper;
    std::wstring WaitingForPrinterWork;
    std::wstring Clean;
    std::wstring DeepClean;
    std::wstring DeepCleanInterval;
    std::wstring Holecheck;
    std::wstring Adjust;
    std::wstring BearingClean;
    std::wstring InkFinish;
    std::wstring CleanFinish;
    std::wstring DeepCleanFinish;
    std::wstring SetPrinterSuccessI;
    std::wstring GuideTitle;
    std::wstring CleanNewprinter;
    std::wstring btnNewPrinter;
    std::wstring btnInkset;
    std::wstring btnInkCancel;
    std::wstring InkInfoTitle;
    std::wstring CleanInfo;
    std::wstring Step1;
    std::wstring Step2;
    std::wstring Step3;
    std::wstring Step4;
    std::wstring Step5;
    std::wstring bStep1;
    std::wstring bStep2;
    std::wstring bStep3;
    std::wstring bStep4;
    std::wstring bStep5;
    std::wstring A4Step1;
    std::wstring A4Step2;
    std::wstring A4Step3;
    std::wstring A4Step4;
    std::wstring A4Step5;
    std::wstring btnInkPrn;
    std::wstring IfNewPrint;
    std::wstring Back;
    std::wstring Next;
    std::wstring BtnClean;
    std::wstring Page;
    std::wstring PageInfo;
    std::wstring InkInfo;
    std::wstring DraftPrint;
    std::wstring NormalPrint;
    std::wstring QualityPrint;
    std::wstring InstallInk;
    std::wstring HolecheakTitle;
    std::wstring HolecheakInfo;
    std::wstring InkWarning;
    std::wstring Testpage;
    std::wstring InkWaitStr;
    std::wstring mPrintQueue;
    std::wstring SpecialNoteTitle;
    std::wstring SpecialNote;
    std::wstring OnlyForTechnical;
    std::wstring ParametersCaption;
    std::wstring ParametersTitle;
    std::wstring ParametersNoteTitle;
    std::wstring ParametersBtnSet;
    std::wstring ParametersBtnCancel;
    std::wstring ParametersBtnReturn;
    std::wstring ParametersBtnDefault;
    std::wstring ParametersBtnOK;
    std::wstring MainCaption;
    std::wstring Group64_Name1;
    std::wstring Group64_Name2;
    std::wstring Group64_Name3;
    std::wstring Group64_Name4;
    std::wstring Group64_Name21;
    std::wstring Group64_btnDetect;
    std::wstring Group64_Info;
    std::wstring PutTheCard;
    std::wstring PaperLengthInvalid;
    std::wstring Inch;
    std::wstring Layer;
    std::wstring Auto;
    std::wstring ON_;
    std::wstring OFF;
};

// Until LoadGlobalStrings has run the record is as a fresh global: plCN and empty texts.
extern TGlobalString g_GlobalString;

// One key of the localisation table: the field's name (the key without its language suffix), the field it
// fills, and its English default for a key the table lacks in the chosen language. Defaults are written as
// the table writes its texts, line breaks still as the four characters \r\n.
struct TGlobalStringKey {
    const wchar_t* Name;
    std::wstring TGlobalString::*Field;
    const wchar_t* Default;
};

// Every key, in the record's declared order.
std::span<const TGlobalStringKey> GlobalStringKeys();

// text followed by the code of g_GlobalString.Language ("CN", "CHT", "EN", "JP"); with "." it gives the
// suffix of localised keys.
std::wstring AddLanguageCode(const std::wstring& text);

// Every backslash, r, backslash, n becomes CR LF; nothing else changes.
std::wstring UnescapeLineBreaks(const std::wstring& text);

// Chooses the language from the system default language and fills every field of g_GlobalString from the
// embedded RCDATA resource resourceName (the program passes "RESSTRING"). The resource goes through a
// temporary file in the user's temporary folder, since the profile functions read files only; the file is
// gone again when this returns.
//
// Does not throw. False when the resource is missing or the temporary file cannot be made or written; then
// errorText (when given) receives the message the program's start shows before it ends, the language is
// already chosen and the texts are left as they were. A key missing for the language is no failure: its
// field takes the default.
bool LoadGlobalStrings(const std::wstring& resourceName, std::wstring* errorText = nullptr);
