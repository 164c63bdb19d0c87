#include "RWPrinterModel.h"

namespace {
// The model's side of the worker's upward calls (the program's one settings model).
TRWPrinterModel* g_pRWPrinterModel = nullptr;
}  // namespace

void SetRWPrinterModel(TRWPrinterModel* model) {
    g_pRWPrinterModel = model;
}

TRWPrinterModel* GetRWPrinterModel() {
    return g_pRWPrinterModel;
}
