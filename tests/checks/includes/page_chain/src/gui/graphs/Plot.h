#pragma once

#include "gui/app/Helper.h"
