#pragma once

class CQuenzaDlg {};
