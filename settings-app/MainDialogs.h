#pragma once
// How the main window opens the dialogs that live in units of their own (ink alignment, inquiry, ink drying,
// black-mark): one opener per dialog, installed by whoever links that dialog in (start-up, or a test with a
// recorder). An opener creates its dialog, shows it modally and frees it, returning when it has closed.
// User-interface thread only.

#include <functional>

enum class TMainDialog { InkSet, Inquiry, InkDry, BMset };

using TMainDialogOpener = std::function<void()>;

// An empty opener removes the dialog's.
void SetMainDialogOpener(TMainDialog dialog, TMainDialogOpener opener);
// Runs the dialog's opener; nothing opens when none is installed.
void OpenMainDialog(TMainDialog dialog);
// Removes every opener.
void ClearMainDialogOpeners();
