#pragma once

#include "shared/Bridge.h"
