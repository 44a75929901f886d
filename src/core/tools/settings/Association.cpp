#include "core/tools/settings/Association.h"

#include "core/base/AppProfile.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "platform/desktop/MimeAppsList.h"

namespace {

const AssociatedType* TypeOf(const std::string& extension)
{
    for (const AssociatedType& type : AssociatedTypes())
        if (extension == type.extension)
            return &type;
    return nullptr;
}

}  // namespace

const std::vector<AssociatedType>& AssociatedTypes()
{
    // clang-format off
    static const std::vector<AssociatedType> types{
        {".qnz",  "application/x-quenzario-qnz",  "Quenzario scan (older format)"},
        {".qnzx", "application/x-quenzario-qnzx", "Quenzario scan"},
        {".ibg",  "application/x-ibg-graph",      "ImgBurn write graph"},
        {".mbg",  "application/x-mbg-graph",      "Write graph"},
    };
    // clang-format on
    return types;
}

CAssociation::CAssociation() : CAssociation(UserXdgFolders())
{
}

CAssociation::CAssociation(std::optional<XdgFolders> folders) :
    m_nIgnore(GetAppProfileInt(kIgnoreAssocEntry, 0)), m_folders(std::move(folders))
{
}

std::string CAssociation::MimeAppsListPath() const
{
    return m_folders ? m_folders->configHome + "/mimeapps.list" : std::string();
}

bool CAssociation::IsAssociated(const std::string& extension) const
{
    const AssociatedType* type = TypeOf(extension);
    if (!type || !m_folders)
        return false;
    std::string text;
    if (!ReadMimeAppsList(MimeAppsListPath(), text))
        return false;
    return DefaultApplicationIn(text, type->mimeType) == kDesktopEntryId;
}

bool CAssociation::HasDesktopEntry() const
{
    return m_folders && FindDesktopEntry(*m_folders, kDesktopEntryId).has_value();
}

bool CAssociation::WriteTypes(const std::vector<std::string>& extensions)
{
    if (!HasDesktopEntry()) {
        m_strError = std::string("no desktop entry ") + kDesktopEntryId + " is installed";
        return false;
    }
    std::vector<std::string> types;
    for (const std::string& extension : extensions)
        types.push_back(TypeOf(extension)->mimeType);
    if (SetDefaultApplication(MimeAppsListPath(), types, kDesktopEntryId, &m_strError))
        return true;
    LogEntry("File association not written: " + m_strError);
    return false;
}

bool CAssociation::WriteOwnExtensionKeys()
{
    if (WriteTypes({".qnz", ".qnzx"}))
        return true;
    AppMessageBox("Setting registry key failed");
    return false;
}

bool CAssociation::WriteGraphExtensionKeys()
{
    return WriteTypes({".ibg", ".mbg"});
}

bool CAssociation::AllAssociated() const
{
    for (const char* extension : {".ibg", ".mbg", ".qnz", ".qnzx"})
        if (!IsAssociated(extension))
            return false;
    return true;
}

void CAssociation::Ignore()
{
    WriteAppProfileInt(kIgnoreAssocEntry, 1);
    m_nIgnore = 1;
}

void CAssociation::RepairPrompt(AssociationQuestion& question)
{
    if (m_nIgnore != 0 || !HasDesktopEntry() || AllAssociated())
        return;
    const AssociationQuestion::Answer answer = question.Ask(
        "File Association Repair",
        "This program should be associated with the '.QNZ, QNZX MBG & .IBG' "
        "extensions. Do you want this repaired? (Recommended)");
    if (answer.yes) {
        WriteOwnExtensionKeys();
        WriteGraphExtensionKeys();
        // A user whose settings cannot take it is not asked at every start.
        if (!IsAssociated(".ibg") || !IsAssociated(".mbg"))
            Ignore();
    }
    if (answer.dontShowAgain)
        Ignore();
}

bool CAssociation::RepairAssociations()
{
    WriteTypes({".qnz", ".qnzx"});
    WriteTypes({".ibg", ".mbg"});
    const bool associated = AllAssociated();
    WriteAppProfileInt(kIgnoreAssocEntry, 0);
    m_nIgnore = 0;
    return associated;
}
