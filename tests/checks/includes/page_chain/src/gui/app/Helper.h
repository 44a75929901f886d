#pragma once

#include "QuenzaDlg.h"
