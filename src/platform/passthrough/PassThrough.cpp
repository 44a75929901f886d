#include "platform/passthrough/PassThrough.h"

const char* const kKernelRefusedReason
    = "the kernel refused this command: vendor commands need root, CAP_SYS_RAWIO or the drive's /dev/sgN node";
