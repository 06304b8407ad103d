// Everything a screen is written against.
#pragma once

#include "basics.h"
#include "controls.h"
#include "fonts.h"
#include "form.h"
#include "notice.h"
#include "picture.h"
#include "runtime.h"
