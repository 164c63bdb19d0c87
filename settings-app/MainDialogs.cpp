#include "MainDialogs.h"

#include <array>
#include <cstddef>

namespace {

std::array<TMainDialogOpener, 4> g_MainDialogOpeners;

std::size_t Slot(TMainDialog dialog) {
    return static_cast<std::size_t>(dialog);
}

}  // namespace

void SetMainDialogOpener(TMainDialog dialog, TMainDialogOpener opener) {
    g_MainDialogOpeners.at(Slot(dialog)) = std::move(opener);
}

void OpenMainDialog(TMainDialog dialog) {
    // A copy, so that an opener may replace itself while its dialog runs.
    const TMainDialogOpener opener = g_MainDialogOpeners.at(Slot(dialog));
    if (opener) {
        opener();
    }
}

void ClearMainDialogOpeners() {
    g_MainDialogOpeners.fill(nullptr);
}
