#pragma once

#include "../app/QuenzaDlg.h"
