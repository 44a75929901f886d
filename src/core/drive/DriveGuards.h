#pragma once

class CScsiCommand;
class MmcCommands;

// Holds that an operation takes on the current drive, each given back when
// its guard ends, on every way out. Release gives one back early, at the
// point of an ending where the drive must be free; the destructor then does
// nothing more.

// The tray locked (PREVENT ALLOW MEDIUM REMOVAL with Prevent) for the
// guard's life; unlocked (Allow) at its end, also when the lock was refused.
class TrayLock {
public:
    explicit TrayLock(MmcCommands& mmc);
    ~TrayLock();
    TrayLock(const TrayLock&) = delete;
    TrayLock& operator=(const TrayLock&) = delete;

    // Whether the drive took the lock.
    bool Locked() const { return m_bLocked; }
    void Release();
    // Another party has unlocked the tray: the end sends nothing.
    void Forget() { m_pMmc = nullptr; }

private:
    MmcCommands* m_pMmc;
    bool m_bLocked;
};

// The system's media-change notification off for the drive (DisableMCN) for
// the guard's life, so that a read failure is not taken for a disc change;
// on again at its end.
class MediaChangeNotificationOff {
public:
    explicit MediaChangeNotificationOff(CScsiCommand& channel);
    ~MediaChangeNotificationOff();
    MediaChangeNotificationOff(const MediaChangeNotificationOff&) = delete;
    MediaChangeNotificationOff& operator=(const MediaChangeNotificationOff&) = delete;

    void Release();

private:
    CScsiCommand* m_pChannel;
};

// The drive's volume locked and dismounted (no file system reads beside the
// test's) for the guard's life; unlocked at its end.
class VolumeLock {
public:
    explicit VolumeLock(CScsiCommand& channel);
    ~VolumeLock();
    VolumeLock(const VolumeLock&) = delete;
    VolumeLock& operator=(const VolumeLock&) = delete;

    void Release();

private:
    CScsiCommand* m_pChannel;
};
