// The face of the core library: everything every subsystem stands on.
#pragma once

#include "core/display.h"
#include "core/files.h"
#include "core/frame_clock.h"
#include "core/fixed_math.h"
#include "core/input.h"
#include "core/log.h"
#include "core/pointer_list.h"
#include "core/random.h"
#include "core/settings.h"
