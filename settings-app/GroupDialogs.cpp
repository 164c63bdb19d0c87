#include "GroupDialogs.h"

#include "platform/forms/application.h"

using namespace platform::forms;

TGroupDialogs g_GroupDialogs;

namespace {

void ShowSubGroupOn(TFormSetGroupItem& dialog, const std::wstring& strCaption, std::int32_t iSubGroup) {
    dialog.SetParameters(strCaption, iSubGroup);
    dialog.ShowModal();
}

void ShowInvoiceTypeOn(TfrmInvoiceType_SetGruop& dialog, std::int32_t iOption, const std::wstring& strCaption) {
    LayOutInvoiceType(dialog, iOption);
    dialog.SetCaption(strCaption);
    dialog.ShowModal();
}

}  // namespace

void TGroupDialogs::ShowSubGroup(const std::wstring& strCaption, std::int32_t iSubGroup) {
    if (FormSetGroupItem) {
        ShowSubGroupOn(*FormSetGroupItem, strCaption, iSubGroup);
        return;
    }
    auto dialog = MakeForm<TFormSetGroupItem>();
    ShowSubGroupOn(*dialog, strCaption, iSubGroup);
}

void TGroupDialogs::ShowInvoiceType(std::int32_t iOption, const std::wstring& strCaption) {
    if (frmInvoiceType_SetGruop) {
        ShowInvoiceTypeOn(*frmInvoiceType_SetGruop, iOption, strCaption);
        return;
    }
    auto dialog = MakeForm<TfrmInvoiceType_SetGruop>();
    ShowInvoiceTypeOn(*dialog, iOption, strCaption);
}

void CreateGroupDialogs() {
    FormSetGroupItem = application().CreateForm<TFormSetGroupItem>();
    frmInvoiceType_SetGruop = application().CreateForm<TfrmInvoiceType_SetGruop>();
}
