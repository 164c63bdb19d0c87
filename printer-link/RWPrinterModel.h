#pragma once
// What the exchange worker needs from the settings model, which lives above the printer link: the model
// implements this and installs itself at start-up, so that the link never includes the model.

#include <cstdint>

class TRWPrinterModel {
public:
    virtual ~TRWPrinterModel() = default;
    // The model settings file's rule for failed reads: 0 switches the run to short time-outs after one.
    virtual std::int32_t ReadOnLastFail() const = 0;
    virtual void SetAffirmReadDisableStatus(bool bStatus) = 0;
};

// The model the worker reports to; none (null) until the model installs itself, and then the worker only
// keeps its own counts. Set on the user-interface thread before any worker starts.
void SetRWPrinterModel(TRWPrinterModel* model);
TRWPrinterModel* GetRWPrinterModel();
