#pragma once
// The whole component model for the program's windows.

#include "platform/forms/application.h"
#include "platform/forms/backend.h"
#include "platform/forms/bitmap.h"
#include "platform/forms/buttons.h"
#include "platform/forms/component.h"
#include "platform/forms/containers.h"
#include "platform/forms/control.h"
#include "platform/forms/design.h"
#include "platform/forms/dump.h"
#include "platform/forms/edits.h"
#include "platform/forms/form.h"
#include "platform/forms/label.h"
#include "platform/forms/lists.h"
#include "platform/forms/timer.h"
#include "platform/forms/track_bar.h"
#include "platform/forms/types.h"
