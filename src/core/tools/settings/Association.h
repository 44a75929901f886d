#pragma once

#include "platform/desktop/XdgFolders.h"

#include <optional>
#include <string>
#include <vector>

// The program as the desktop's handler of its scan files (".qnz", ".qnzx")
// and of the graph files it reads (".ibg", ".mbg"): each extension is a file
// type of the program's shared-mime-info package, and the type is associated
// when the user's mimeapps.list ($XDG_CONFIG_HOME/mimeapps.list) names the
// program's desktop entry as its default application. The installed desktop
// entry holds the command that opens a file.

struct AssociatedType {
    const char* extension;  // with its dot
    const char* mimeType;
    const char* description;
};
const std::vector<AssociatedType>& AssociatedTypes();
constexpr const char* kDesktopEntryId = "quenzario.desktop";
constexpr const char* kIgnoreAssocEntry = "IgnoreAssocRequest";

// The repair question: yes or no, and whether "Do not show this message
// again" was ticked.
class AssociationQuestion {
public:
    struct Answer {
        bool yes = false;
        bool dontShowAgain = false;
    };
    virtual ~AssociationQuestion() = default;
    virtual Answer Ask(const std::string& title, const std::string& message) = 0;
};

class CAssociation {
public:
    // The user's folders (nullopt: none, nothing can be associated); the
    // ignore flag from "IgnoreAssocRequest".
    CAssociation();
    explicit CAssociation(std::optional<XdgFolders> folders);
    virtual ~CAssociation() = default;

    // Whether the type of the extension (".ibg") has the program's desktop
    // entry as its default application; false for any other extension.
    bool IsAssociated(const std::string& extension) const;
    bool WriteOwnExtensionKeys();
    bool WriteGraphExtensionKeys();
    // Whether the program's desktop entry is installed for this user; without
    // it there is nothing to associate the types with.
    bool HasDesktopEntry() const;

    // The start-up's question: asked unless "IgnoreAssocRequest" is set, the
    // program is not installed or every type is associated; the types are
    // changed only on yes.
    void RepairPrompt(AssociationQuestion& question);
    // The settings dialog's repair: true when every type is associated
    // afterwards; "IgnoreAssocRequest" is 0 after it either way.
    bool RepairAssociations();

    // Why the last write failed.
    const std::string& LastError() const { return m_strError; }
    std::string MimeAppsListPath() const;

    int m_nIgnore = 0;

private:
    bool WriteTypes(const std::vector<std::string>& extensions);
    bool AllAssociated() const;
    void Ignore();

    std::optional<XdgFolders> m_folders;
    std::string m_strError;
};
