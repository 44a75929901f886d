# The layers of src/, one folder each: every folder of src/ is one of them
# (LayerRules.cmake and CheckIncludes.cmake refuse any other).
set(QUENZA_LAYERS scsi platform emu core gui)
