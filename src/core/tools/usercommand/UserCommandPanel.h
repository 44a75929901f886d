#pragma once

#include "core/ui/DockSlide.h"
#include "scsi/DataDirection.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The command as it goes to the drive.
struct UserCommandRequest {
    std::vector<std::uint8_t> cdb;  // exactly the CDB size's bytes
    DataDirection direction = DataDirection::In;  // None without a data phase
    std::uint32_t size = 0;  // the transfer, as typed
};

// The custom command panel's fields and what its controls do to them,
// without the controls: the direction, the buffer size and CDB texts, the
// CDB size with the bytes it leaves out, the send prompt, the offset and
// value of a single byte, the pre-load path, the example list and the slide
// beside the main window. Texts are kept as typed; they are read as the
// drive gets them (CDB bytes, offset and value hexadecimal, sizes decimal).
class UserCommandPanel {
public:
    static constexpr int kCdbBytes = 12;
    static constexpr std::uint32_t kBufferBytes = 4096;
    static constexpr DockShape kShape{399, 316, 247};
    static constexpr const char* kPromptEntry = "CustomCommandSendPrompt";
    // How long a command may take before the kernel aborts it.
    static constexpr std::uint32_t kTimeoutSeconds = 20;
    // The kernel takes no CDB shorter than this.
    static constexpr int kShortestCdb = 6;

    // The defaults; the prompt flag from the profile.
    UserCommandPanel();

    // READ and WRITE: a click on either swaps the two.
    void SwapDirection();
    bool DataOut() const { return m_bWrite == 1; }

    // The CDB size text changed or its field lost the focus: 1-12 is
    // applied; anything else becomes "1" (applied too) and false comes back
    // for the warning beep.
    bool OnCdbSizeChange();
    // The applied CDB size and the bytes it enables: 0 to size - 1.
    int CdbSize() const { return m_nCdbSize; }
    bool CdbByteEnabled(int index) const { return index >= 0 && index < m_nCdbSize; }
    // What the panel says under the CDB size: that the kernel refuses a CDB
    // of the applied size, when it is under 6 bytes; empty otherwise.
    std::string CdbSizeNote() const;

    void ClearCdb();
    // READ, "2048", the CDB cleared, CDB size 12.
    void SetDefaults();
    // The INQUIRY the Example button fills in.
    void FillExample();
    // A choice in the example list: a heading changes nothing (the caller
    // says so), a command fills in its row, the empty entry only clears the CDB.
    enum class ExampleChoice { Heading, Filled, CdbCleared, None };
    ExampleChoice ChooseExample(int index);
    static constexpr const char* kHeadingChosen = "Make another choice,  You chose a heading";
    static constexpr const char* kExampleNotice = "The fields will now be filled in for a valid\r\nINQUIRY command "
                                                  "as an example\r\n\r\nChoose OK, then SEND to see the result";

    // The buffer size read as decimal (negative as 0), and the part of the
    // data buffer it covers.
    std::uint32_t BufferSize() const;
    std::uint32_t ShownBytes() const;
    int ShownLines() const { return static_cast<int>(ShownBytes() / 16); }
    // Before anything goes to the main window: the message when the size is
    // no multiple of 16.
    std::optional<std::string> BufferSizeRefusal() const;
    // A CDB byte's field lost the focus: a size outside 0-4096 or no
    // multiple of 16 is refused with its message and the last size that
    // passed comes back.
    std::optional<std::string> CheckBufferSize();

    // Send: the questions before it (no data typed, or the prompt for a
    // command that only reads: the confirmation gate asks for every other
    // one) and the size check, through the program's prompt. True when the
    // command goes.
    bool ConfirmSend() const;
    UserCommandRequest Request() const;

    // Get and Set: the offset and value read as hexadecimal.
    std::uint32_t Offset() const;
    std::uint8_t Value() const;
    void SetBufferValue(std::uint8_t value);
    void SetOffset(std::uint32_t offset);
    // Prompt before Send, kept in the profile.
    void SetPrompt(int prompt);
    void ReadPrompt();

    DockSlide& Slide() { return m_Slide; }
    const DockSlide& Slide() const { return m_Slide; }

    int m_bRead = 1;
    int m_bWrite = 0;
    std::string m_strBufferSize = "2048";
    std::array<std::string, kCdbBytes> m_strCdb;
    std::string m_strCdbSize = "12";
    int m_bPrompt = 1;
    std::string m_strOffset = "0";
    std::string m_strValue = "00";
    std::string m_strPreloadPath;
    // 0 until the user changes a CDB byte, the buffer size or the CDB size.
    int m_bDataEntered = 0;

private:
    void ApplyCdbSize(int size);

    int m_nCdbSize = kCdbBytes;
    std::string m_strPassedBufferSize = "2048";
    DockSlide m_Slide{kShape};
};
