#include "platform/passthrough/SystemDeviceOpener.h"

#include "platform/devices/BlockDevices.h"
#include "platform/files/SafeFile.h"
#include "platform/passthrough/SgIoPassThrough.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAttribute(const std::string& file, const std::string& value, int& errorNumber)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);  // sysfs ignores the truncation
    if (fd < 0) {
        errorNumber = errno;
        return false;
    }
    const bool written = ::write(fd, value.data(), value.size()) == static_cast<ssize_t>(value.size());
    errorNumber = written ? 0 : errno;
    ::close(fd);
    return written;
}

class EventsPollControl : public MediaChangeControl {
public:
    explicit EventsPollControl(std::string attribute) : m_attribute(std::move(attribute)) {}
    ~EventsPollControl() override
    {
        if (m_disabled)
            SetNotificationDisabled(false, nullptr, nullptr);
    }
    EventsPollControl(const EventsPollControl&) = delete;
    EventsPollControl& operator=(const EventsPollControl&) = delete;

    bool SetNotificationDisabled(bool disabled, std::string* error, std::string* note) override
    {
        if (disabled == m_disabled)
            return true;
        std::string saved;
        if (disabled && !ReadWholeFile(m_attribute, saved)) {
            if (note)
                *note = "media change polling left as it is: " + m_attribute + " cannot be read";
            return true;
        }
        int errorNumber = 0;
        if (!WriteAttribute(m_attribute, disabled ? "0" : m_saved, errorNumber)) {
            if (errorNumber == EACCES || errorNumber == EPERM || errorNumber == EROFS || errorNumber == ENOENT) {
                if (note)
                    *note = "media change polling left as it is: " + m_attribute + " is not writable ("
                        + ErrnoText(errorNumber) + ")";
                return true;
            }
            if (error)
                *error = "cannot write " + m_attribute + ": " + ErrnoText(errorNumber);
            return false;
        }
        if (disabled)
            m_saved = saved;
        m_disabled = disabled;
        return true;
    }

private:
    std::string m_attribute;
    std::string m_saved;
    bool m_disabled = false;
};

}  // namespace

bool IsPlainDeviceName(const std::string& driveText)
{
    return !driveText.empty() && driveText != "." && driveText != ".." && driveText.find('/') == std::string::npos;
}

SystemDeviceOpener::SystemDeviceOpener(std::string devRoot, std::string sysBlockRoot) :
    m_devRoot(std::move(devRoot)), m_sysBlockRoot(std::move(sysBlockRoot))
{
}

std::unique_ptr<PassThrough> SystemDeviceOpener::Open(const std::string& driveText, DeviceOpenFailure& failure)
{
    if (!IsPlainDeviceName(driveText)) {
        failure = {EINVAL, "\"" + driveText + "\" is not a drive name"};
        return nullptr;
    }
    return SgIoPassThrough::Open(m_devRoot + "/" + driveText, m_sysBlockRoot + "/" + driveText, failure);
}

std::unique_ptr<MediaChangeControl> SystemDeviceOpener::OpenMediaChangeControl(const std::string& driveText,
                                                                               DeviceOpenFailure& failure)
{
    const std::string node = m_devRoot + "/" + driveText;
    struct stat info {};
    if (!IsPlainDeviceName(driveText) || ::stat(node.c_str(), &info) != 0) {
        failure = {ENOENT, DescribeOpenFailure(node, ENOENT)};
        return nullptr;
    }
    return std::make_unique<EventsPollControl>(m_sysBlockRoot + "/" + driveText + "/events_poll_msecs");
}

int SystemDeviceOpener::QueryBusType(const std::string& driveText)
{
    if (!IsPlainDeviceName(driveText))
        return -1;
    return BusTypeFromSysfs(m_sysBlockRoot, driveText, true);
}
