#include "FormInvoiceType_SetGroup.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "GlobalString.h"
#include "GroupLayout.h"
#include "LocaleParse.h"
#include "Scheme.h"
#include "ValueEncoding.h"
#include "platform/forms/application.h"
#include "platform/text.h"

using namespace platform::forms;

TfrmInvoiceType_SetGruop* frmInvoiceType_SetGruop = nullptr;

namespace {

using platform::Bytes;

// The top-of-form list runs from -19/60 to 70/60 inch.
constexpr int kTopOfFormFirst = -19;
constexpr int kTopOfFormLast = 70;
// Copy strength: what the printer takes and answers for "automatic".
constexpr std::uint8_t kCopyStrengthAuto = 7;
// The measurement runs while the waiting window stays up this long.
constexpr std::uint32_t kMeasureWaitMs = 8000;
// The reply buffer: the command goes in first and the reply overwrites it.
constexpr std::size_t kBufferSize = 512;
// Shorter replies are not looked at.
constexpr std::int32_t kMinReplyLength = 12;
// Every value reply opens with this head. The reply is taken from its first byte, so one that does not (bytes
// before its frame, or some other frame) would put other bytes at the values' offsets.
constexpr std::uint8_t kReplyHead[] = {0x1B, 0x1D, 0x1E, 0x05, 0x03};

bool IsValueReply(const std::uint8_t* data, std::int32_t length) {
    return data != nullptr && length >= kMinReplyLength &&
           std::equal(std::begin(kReplyHead), std::end(kReplyHead), data);
}

// Commands, each a whole frame (frame head, class, code, data, instruction tail).
constexpr std::uint8_t kReadWithBooklet[] = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x04, 0x4B,
                                             0x0A, 0x0F, 0x4D, 0x1B, 0x1D, 0x1F};
constexpr std::uint8_t kReadWithoutBooklet[] = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x03, 0x4B, 0x0A, 0x0F, 0x1B, 0x1D, 0x1F};
constexpr std::uint8_t kStartMeasuring[] = {0x1B, 0x1D, 0x1E, 0x00, 0x1B, 0x00, 0x00, 0x1B, 0x1D, 0x1F};
constexpr std::uint8_t kReadMeasuredLength[] = {0x1B, 0x1D, 0x1E, 0x05, 0x03, 0x01, 0x4E, 0x1B, 0x1D, 0x1F};
constexpr std::uint8_t kEnterFrame[] = {0x1B, 0x1D, 0x1E, 0x05, 0x01, 0x1B, 0x1D, 0x1F};
constexpr std::uint8_t kSaveFrame[] = {0x1B, 0x1D, 0x1E, 0x05, 0x02, 0x1B, 0x1D, 0x1F};

const FormDesign kInvoiceTypeDesign = {
    .clientWidth = 704,
    .clientHeight = 282,
    .position = poMainFormCenter,
    .borderStyle = bsDialog,
    .borderIcons = biSystemMenu,
    .OnCreate = &TfrmInvoiceType_SetGruop::FormCreate,
    .OnShow = &TfrmInvoiceType_SetGruop::FormShow,
};

using T = TfrmInvoiceType_SetGruop;

ComponentDesign ItemPanel(const wchar_t* name, Panel* T::*field, int left) {
    return ItemPanelDesign(name, field, L"pnl1", left, 8);
}

const ComponentDesign kInvoiceTypeLayout[] = {
    {.kind = ComponentKind::Panel,
     .name = L"pnl1",
     .field = &T::pnl1,
     .height = 156,
     .align = alTop,
     .bevelOuter = bvNone},
    ItemPanel(L"pnlItem1", &T::pnlItem1, 3),
    ItemNameDesign(L"lblName1", &T::lblName1, L"pnlItem1"),
    ItemListDesign(L"lst1", &T::lst1, L"pnlItem1"),
    ItemPanel(L"pnlItem2", &T::pnlItem2, 174),
    ItemNameDesign(L"lblName2", &T::lblName2, L"pnlItem2"),
    {.kind = ComponentKind::MaskEdit,
     .name = L"medt1",
     .field = &T::medt1,
     .parent = L"pnlItem2",
     .left = 5,
     .top = 22,
     .width = 57,
     .height = 21,
     .OnKeyPress = &T::medt1KeyPress},
    {.kind = ComponentKind::Label,
     .name = L"lbl1",
     .field = &T::lbl1,
     .parent = L"pnlItem2",
     .left = 64,
     .top = 26,
     .caption = L" mm"},
    {.kind = ComponentKind::Button,
     .name = L"btnDetect",
     .field = &T::btnDetect,
     .parent = L"pnlItem2",
     .left = 5,
     .top = 47,
     .width = 65,
     .height = 30,
     .showHint = true,
     .OnClick = &T::btnDetectClick},
    ItemPanel(L"pnlItem3", &T::pnlItem3, 345),
    ItemNameDesign(L"lblName3", &T::lblName3, L"pnlItem3"),
    ItemListDesign(L"lst3", &T::lst3, L"pnlItem3"),
    ItemPanel(L"pnlItem4", &T::pnlItem4, 519),
    ItemNameDesign(L"lblName4", &T::lblName4, L"pnlItem4"),
    ItemListDesign(L"lst4", &T::lst4, L"pnlItem4"),
    // The note follows the window's width, which the two layouts change.
    {.kind = ComponentKind::GroupBox,
     .name = L"grp1",
     .field = &T::grp1,
     .left = 3,
     .top = 158,
     .width = 694,
     .height = 78,
     .anchors = akLeft | akTop | akRight,
     .bold = true},
    NoteLabelDesign(&T::lblInfo, 694, 78),
    {.kind = ComponentKind::Panel, .name = L"pnlBottom", .field = &T::pnlBottom, .height = 36, .align = alBottom},
    BottomButtonDesign(L"btnSet", &T::btnSet, 550, &T::btnSetClick),
    BottomButtonDesign(L"btnCancel", &T::btnCancel, 631, &T::btnCancelClick, true),
    {.kind = ComponentKind::Button,
     .name = L"btnRead",
     .field = &T::btnRead,
     .parent = L"pnlBottom",
     .left = 8,
     .top = 3,
     .width = 65,
     .height = 30,
     .visible = false,
     .OnClick = &T::btnReadClick},
};

const ComponentText<TGlobalString> kInvoiceTypeTexts[] = {
    {L"lblName1", &TGlobalString::Group64_Name1},        {L"lblName2", &TGlobalString::Group64_Name2},
    {L"lblName3", &TGlobalString::Group64_Name3},        {L"lblName4", &TGlobalString::Group64_Name4},
    {L"btnDetect", &TGlobalString::Group64_btnDetect},   {L"lblInfo", &TGlobalString::Group64_Info},
    {L"grp1", &TGlobalString::ParametersNoteTitle},      {L"btnSet", &TGlobalString::ParametersBtnSet},
    {L"btnCancel", &TGlobalString::ParametersBtnCancel},
};

// Sixtieths of an inch as whole millimetres with one (zero) decimal: "05.0", "254.0".
std::wstring MillimetreText(std::int32_t sixtieths) {
    const double mm = std::nearbyint(sixtieths / 60.0 * 25.4);
    return platform::Format(L"%.2d.0", {static_cast<std::int64_t>(mm)});
}

// One raw frame: frame head, class, code, data, instruction tail.
void AppendFrame(Bytes& bytes, std::uint8_t commandClass, std::uint8_t code, const Bytes& data) {
    bytes.insert(bytes.end(), {0x1B, 0x1D, 0x1E, commandClass, code});
    bytes.insert(bytes.end(), data.begin(), data.end());
    bytes.insert(bytes.end(), {0x1B, 0x1D, 0x1F});
}

// Millimetres as whole sixtieths of an inch, halves to the even neighbour. The printer keeps and answers the
// height as a signed 16-bit number, so a height beyond that (or no number at all) gives nothing.
std::optional<std::int16_t> HeightInSixtieths(double mm) {
    const double sixtieths = std::nearbyint(mm / 25.4 * 60);
    if (!(sixtieths >= std::numeric_limits<std::int16_t>::min() &&
          sixtieths <= std::numeric_limits<std::int16_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(sixtieths);
}

}  // namespace

// Reply of the invoice-type read, a value reply whose fields this dialog takes at fixed offsets:
//   offset  size  content
//   0       5     reply prefix 1B 1D 1E 05 03 (anything else: no values)
//   5       1     entry count - 1
//   6       2     4B, value type
//   8       2     top of form: low byte first, sign and magnitude (bit 15 the minus sign)
//   10      2     0A, value type
//   12      1     left margin
//   13      2     0F, value type
//   15      1     copy strength, 7 = automatic
//   16      2     4D, value type                   (four-item read only)
//   18      2     booklet height: signed, low byte first
// A field the reply does not reach stays absent: the buffer there still holds the command.
TInvoiceTypeValues DecodeInvoiceTypeReply(const std::uint8_t* data, std::int32_t length, bool withHeight) {
    TInvoiceTypeValues values;
    if (!IsValueReply(data, length)) {
        return values;
    }
    const auto reaches = [length](std::int32_t lastOffset) { return length > lastOffset; };
    if (reaches(9)) {
        values.topOfForm = DecodeWordValue(data[8], data[9]);
    }
    if (reaches(12)) {
        values.leftMargin = data[12];
    }
    if (reaches(15)) {
        values.copyStrength = data[15];
    }
    if (withHeight && reaches(19)) {
        values.bookletHeight = static_cast<std::int16_t>(data[18] | (data[19] << 8));
    }
    return values;
}

void LayOutInvoiceType(TfrmInvoiceType_SetGruop& dialog, std::int32_t iOption) {
    const auto rightOf = [](const Panel& panel) { return panel.Left() + panel.Width() + 5; };
    if (iOption == 3) {
        dialog.SetWidth(710 - dialog.pnlItem2->Width());
        dialog.pnlItem2->Hide();
        dialog.pnlItem3->SetLeft(rightOf(*dialog.pnlItem1));
        dialog.pnlItem4->SetLeft(rightOf(*dialog.pnlItem3));
    } else if (iOption == 4) {
        dialog.SetWidth(710);
        dialog.pnlItem2->Show();
        dialog.pnlItem3->SetLeft(rightOf(*dialog.pnlItem2));
        dialog.pnlItem4->SetLeft(rightOf(*dialog.pnlItem3));
    }
}

TfrmInvoiceType_SetGruop::TfrmInvoiceType_SetGruop() : Form(L"TfrmInvoiceType_SetGruop", kInvoiceTypeDesign) {
    BindLayout(*this, kInvoiceTypeLayout);
}

// The dialog start-up made goes with the application's forms; the global must not outlive it.
TfrmInvoiceType_SetGruop::~TfrmInvoiceType_SetGruop() {
    if (frmInvoiceType_SetGruop == this) {
        frmInvoiceType_SetGruop = nullptr;
    }
}

void TfrmInvoiceType_SetGruop::FormCreate() {
    ApplyTexts(*this, g_GlobalString, kInvoiceTypeTexts);
}

void TfrmInvoiceType_SetGruop::FormShow() {
    const TGlobalString& s = g_GlobalString;
    std::vector<std::wstring> entries;
    for (int i = kTopOfFormFirst; i <= kTopOfFormLast; ++i) {
        entries.push_back(platform::Format(L"%d/60 %s (%fmm)", {std::int64_t{i}, s.Inch, i / 60.0 * 25.4}));
    }
    lst1->SetItems(std::move(entries));
    entries.clear();
    for (int i = 0; i <= 5; ++i) {
        entries.push_back(platform::Format(L"%d/10 %s (%fmm)", {std::int64_t{i}, s.Inch, i / 10.0 * 25.4}));
    }
    lst3->SetItems(std::move(entries));
    entries = {s.Auto};
    for (int i = 1; i <= 7; ++i) {
        entries.push_back(platform::Format(L"%d%s", {std::int64_t{i}, s.Layer}));
    }
    lst4->SetItems(std::move(entries));
    btnReadClick();
}

void TfrmInvoiceType_SetGruop::btnReadClick() {
    const bool withHeight = pnlItem2->Visible();
    std::array<std::uint8_t, kBufferSize> buffer{};
    const std::uint8_t* command = withHeight ? kReadWithBooklet : kReadWithoutBooklet;
    const std::int32_t commandLength = withHeight ? sizeof kReadWithBooklet : sizeof kReadWithoutBooklet;
    std::copy(command, command + commandLength, buffer.begin());
    std::int32_t readLength = kBufferSize;
    g_SchemeOptions->WriteAndReadPrinter(buffer.data(), commandLength, buffer.data(), kBufferSize - 1, readLength,
                                         false);

    const TInvoiceTypeValues values = DecodeInvoiceTypeReply(buffer.data(), readLength, withHeight);
    if (values.topOfForm) {
        // An index outside the list selects nothing.
        lst1->SetItemIndex(*values.topOfForm - kTopOfFormFirst);
    }
    if (values.leftMargin) {
        lst3->SetItemIndex(*values.leftMargin);
    }
    if (values.copyStrength) {
        lst4->SetItemIndex(*values.copyStrength == kCopyStrengthAuto ? 0 : *values.copyStrength + 1);
    }
    if (values.bookletHeight) {
        medt1->SetText(MillimetreText(*values.bookletHeight));
    }
}

void TfrmInvoiceType_SetGruop::btnDetectClick() {
    btnDetect->SetHint(L"");
    if (application().ShowMessageBox(g_GlobalString.PutTheCard, g_GlobalString.HintTitle,
                                     platform::MsgIcon::Information,
                                     platform::MsgButtons::OKCancel) != platform::MsgResult::OK) {
        return;
    }
    medt1->SetText(L"");
    // An offline printer has been reported by the model.
    if (!g_SchemeOptions->WritePrinter(kStartMeasuring, sizeof kStartMeasuring)) {
        return;
    }

    // The printer feeds the page through meanwhile.
    waitDlg1 = MakeForm<TfrmWaiting>();
    waitDlg1->tmrClose->SetInterval(kMeasureWaitMs);
    waitDlg1->tmrClose->SetEnabled(true);
    waitDlg1->ShowModal();
    waitDlg1.reset();

    std::array<std::uint8_t, kBufferSize> buffer{};
    std::copy(std::begin(kReadMeasuredLength), std::end(kReadMeasuredLength), buffer.begin());
    std::int32_t readLength = kBufferSize;
    g_SchemeOptions->WriteAndReadPrinter(buffer.data(), sizeof kReadMeasuredLength, buffer.data(), kBufferSize - 1,
                                         readLength, false);
    if (!IsValueReply(buffer.data(), readLength)) {
        return;
    }
    const std::int32_t v = buffer[8] + 256 * buffer[9];
    btnDetect->SetHint(platform::LowerCase(platform::Format(L"%x", {std::int64_t{v}})));
    medt1->SetText(MillimetreText(v));
}

void TfrmInvoiceType_SetGruop::btnSetClick() {
    Bytes bytes(std::begin(kEnterFrame), std::end(kEnterFrame));
    if (lst1->ItemIndex() >= 0) {
        // The list's -19..70 always fit a word.
        AppendFrame(bytes, 0x04, 0x13, EncodeValueBytes(lst1->ItemIndex() + kTopOfFormFirst, ptWord).value());
    }
    if (pnlItem2->Visible()) {
        // The field takes only digits and a full stop, so the full stop is the separator whatever the locale.
        const std::optional<double> mm = TryParseLocaleFloat(medt1->Text(), L'.');
        const std::optional<std::int16_t> height = mm ? HeightInSixtieths(*mm) : std::nullopt;
        if (!height) {
            application().ShowMessageBox(g_GlobalString.PaperLengthInvalid, g_GlobalString.ErrorTitle,
                                         platform::MsgIcon::Warning);
            medt1->SetFocus();
            return;
        }
        // A height of a millimetre or less is no height: nothing is sent for it.
        if (std::fabs(*mm) > 1.0) {
            const auto v = static_cast<std::uint16_t>(*height);
            AppendFrame(bytes, 0x00, 0x1A, {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
        }
    }
    if (lst3->ItemIndex() >= 0) {
        AppendFrame(bytes, 0x00, 0x0B, {static_cast<std::uint8_t>(lst3->ItemIndex())});
    }
    if (lst4->ItemIndex() >= 0) {
        const int n = lst4->ItemIndex() == 0 ? kCopyStrengthAuto : lst4->ItemIndex() - 1;
        AppendFrame(bytes, 0x00, 0x10, {static_cast<std::uint8_t>(n)});
    }
    bytes.insert(bytes.end(), std::begin(kSaveFrame), std::end(kSaveFrame));
    // The model has reported an offline printer; the dialog closes whatever the write answers.
    g_SchemeOptions->WritePrinter(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    Close();
}

void TfrmInvoiceType_SetGruop::btnCancelClick() {
    Close();
}

void TfrmInvoiceType_SetGruop::medt1KeyPress(Component&, wchar_t& key) {
    const bool passes = key == 8 || key == L'.' || (key >= L'0' && key <= L'9');
    if (!passes) {
        key = 0;
    }
}
