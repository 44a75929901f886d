#pragma once

#include "emu/Sense.h"
