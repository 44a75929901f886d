#include "core/tools/usercommand/UserCommandPanel.h"

#include "core/base/AppProfile.h"
#include "core/base/Format.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "core/tools/usercommand/UserCommandExamples.h"
#include "core/tools/usercommand/UserCommandRules.h"

#include <algorithm>

namespace {

constexpr const char* kCleared = "00";
constexpr const char* kDefaultBufferSize = "2048";
constexpr const char* kSureCaption = "Are you sure?";

std::uint32_t ReadUnsigned(const std::string& text, int base)
{
    return static_cast<std::uint32_t>(std::clamp<long>(LeadingLong(text, base), 0, 0xFFFFFFFFL));
}

}  // namespace

UserCommandPanel::UserCommandPanel()
{
    m_strCdb.fill(kCleared);
    ReadPrompt();
}

void UserCommandPanel::SwapDirection()
{
    std::swap(m_bRead, m_bWrite);
}

bool UserCommandPanel::OnCdbSizeChange()
{
    const long size = LeadingLong(m_strCdbSize);
    if (size >= 1 && size <= kCdbBytes) {
        ApplyCdbSize(static_cast<int>(size));
        return true;
    }
    m_strCdbSize = "1";
    ApplyCdbSize(1);
    return false;
}

void UserCommandPanel::ApplyCdbSize(int size)
{
    m_nCdbSize = size;
    for (int i = size; i < kCdbBytes; ++i)
        m_strCdb[static_cast<std::size_t>(i)] = kCleared;
}

std::string UserCommandPanel::CdbSizeNote() const
{
    if (m_nCdbSize >= kShortestCdb)
        return {};
    return Format("The kernel refuses CDBs under %d bytes", kShortestCdb);
}

void UserCommandPanel::ClearCdb()
{
    m_strCdb.fill(kCleared);
}

void UserCommandPanel::SetDefaults()
{
    m_bRead = 1;
    m_bWrite = 0;
    m_strBufferSize = m_strPassedBufferSize = kDefaultBufferSize;
    ClearCdb();
    m_strCdbSize = "12";
    ApplyCdbSize(kCdbBytes);
}

void UserCommandPanel::FillExample()
{
    m_bRead = 1;
    m_bWrite = 0;
    m_strBufferSize = m_strPassedBufferSize = kDefaultBufferSize;
    ClearCdb();
    m_strCdb[0] = "12";
    m_strCdb[4] = "78";
    m_strCdbSize = "6";
    ApplyCdbSize(6);
    m_bDataEntered = 1;
}

UserCommandPanel::ExampleChoice UserCommandPanel::ChooseExample(int index)
{
    const auto examples = UserCommandExamples();
    if (index < 0 || static_cast<std::size_t>(index) >= examples.size())
        return ExampleChoice::None;
    const UserCommandExample& example = examples[static_cast<std::size_t>(index)];
    if (example.heading)
        return ExampleChoice::Heading;
    ClearCdb();
    if (!example.IsCommand())
        return ExampleChoice::CdbCleared;
    m_bRead = 1;
    m_bWrite = 0;
    // The size that goes with the row's CDB: see SendableBufferSize.
    m_strBufferSize = m_strPassedBufferSize = Format("%u", SendableBufferSize(example));
    const std::array<std::uint8_t, kCdbBytes> cdb = SendableCdb(example);
    for (int i = 0; i < kCdbBytes; ++i)
        m_strCdb[static_cast<std::size_t>(i)] = Format("%02X", cdb[static_cast<std::size_t>(i)]);
    m_strCdbSize = Format("%d", example.cdbSize);
    ApplyCdbSize(example.cdbSize);
    m_bDataEntered = 1;
    return ExampleChoice::Filled;
}

std::uint32_t UserCommandPanel::BufferSize() const
{
    return ReadUnsigned(m_strBufferSize, 10);
}

std::uint32_t UserCommandPanel::ShownBytes() const
{
    return std::min(BufferSize(), kBufferBytes);
}

std::optional<std::string> UserCommandPanel::BufferSizeRefusal() const
{
    if (BufferSize() % 16 != 0)
        return "Error, Buffer size must be a multiple of 16";
    return std::nullopt;
}

std::optional<std::string> UserCommandPanel::CheckBufferSize()
{
    const long size = LeadingLong(m_strBufferSize);
    std::optional<std::string> refusal;
    if (size < 0 || size > static_cast<long>(kBufferBytes))
        refusal = "Error, Value must be between 0 - 4096";
    else if (size % 16 != 0)
        refusal = "Error, Value must be a multiple of 16";
    if (refusal)
        m_strBufferSize = m_strPassedBufferSize;
    else
        m_strPassedBufferSize = m_strBufferSize;
    return refusal;
}

bool UserCommandPanel::ConfirmSend() const
{
    if (m_bDataEntered == 0) {
        if (AppMessageBox("You have not entered any data\n\rAre you sure you want to send?", kSureCaption,
                          MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
            == IDNO)
            return false;
    } else if (m_bPrompt == 1 && OnlyReads(Request().cdb.front())) {
        if (AppMessageBox("Are you sure you want to send this command?", kSureCaption,
                          MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
            != IDYES)
            return false;
    }
    if (const auto refusal = BufferSizeRefusal()) {
        AppMessageBox(*refusal, "", MB_OK);
        return false;
    }
    return true;
}

UserCommandRequest UserCommandPanel::Request() const
{
    UserCommandRequest request;
    for (int i = 0; i < m_nCdbSize; ++i)
        request.cdb.push_back(static_cast<std::uint8_t>(ReadUnsigned(m_strCdb[static_cast<std::size_t>(i)], 16)));
    request.size = BufferSize();
    if (request.size == 0)
        request.direction = DataDirection::None;
    else
        request.direction = m_bRead == 1 ? DataDirection::In : DataDirection::Out;
    return request;
}

std::uint32_t UserCommandPanel::Offset() const
{
    return ReadUnsigned(m_strOffset, 16);
}

std::uint8_t UserCommandPanel::Value() const
{
    return static_cast<std::uint8_t>(ReadUnsigned(m_strValue, 16));
}

void UserCommandPanel::SetBufferValue(std::uint8_t value)
{
    m_strValue = Format("%02X", value);
}

void UserCommandPanel::SetOffset(std::uint32_t offset)
{
    m_strOffset = Format("%X", offset);
}

void UserCommandPanel::SetPrompt(int prompt)
{
    m_bPrompt = prompt ? 1 : 0;
    WriteAppProfileInt(kPromptEntry, m_bPrompt);
}

void UserCommandPanel::ReadPrompt()
{
    m_bPrompt = GetAppProfileInt(kPromptEntry, 1) ? 1 : 0;
}
