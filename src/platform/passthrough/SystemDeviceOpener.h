#pragma once

#include "platform/passthrough/PassThrough.h"

#include <string>

// Opens the machine's optical drives: <devRoot>/<name> through SG_IO, with
// its facts under <sysBlockRoot>/<name>. Both roots are parameters so tests
// use fixture trees.
class SystemDeviceOpener : public DeviceOpener {
public:
    explicit SystemDeviceOpener(std::string devRoot = "/dev", std::string sysBlockRoot = "/sys/block");

    std::unique_ptr<PassThrough> Open(const std::string& driveText, DeviceOpenFailure& failure) override;
    // Media change here is the kernel's polling of the drive
    // (<sysBlockRoot>/<name>/events_poll_msecs), switched off by writing 0.
    std::unique_ptr<MediaChangeControl> OpenMediaChangeControl(const std::string& driveText,
                                                               DeviceOpenFailure& failure) override;
    int QueryBusType(const std::string& driveText) override;

private:
    std::string m_devRoot;
    std::string m_sysBlockRoot;
};

// A drive text names one node of its folder: not empty, no "/", not "." or "..".
bool IsPlainDeviceName(const std::string& driveText);
