#include "app/ProjectFolder.h"

#include "app/ProjectName.h"
#include "app/TallowResources.h"
#include "authoring/browser/CBrowserPane.h"
#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/UserCancelException.h"

#include <string>
#include <utility>

namespace pw::app {

using pw::foundation::TextOf;

namespace {

constexpr int32_t kProjectsFolder = 0;
constexpr int32_t kDefaultName = 12;

} // namespace

ProjectFolder::ProjectFolder(NameAsker ask)
    : ask(std::move(ask))
{
}

void ProjectFolder::Ensure()
{
    if (limit == 0)
        limit = ProjectNameMaxLength();
    name = new String(TallowResources::GetString(kDefaultName));
    if (setUp)
        return;
    EnterProjectsFolder();
    while (true) {
        if (!ask(name))
            ThrowPointer(SmartPtr<Exception>(new UserCancelException));
        if (TryName(*name.Get()))
            break;
    }
    folder = new FileReference(FileReference::CurrentFolder());
    // Only a project that was entered counts: a failure above lets the next new page ask again.
    setUp = true;
}

void ProjectFolder::SetName(const String& newName)
{
    if (!name.Valid())
        name = new String;
    name->Assign(newName);
}

void ProjectFolder::EnterProjectsFolder()
{
    String projects = TallowResources::GetString(kProjectsFolder);
    FileReference::SetAsCurrentDirectory(*OpenStartupFile(TextOf(projects).c_str()).Get());
}

bool ProjectFolder::TryName(const String& typed)
{
    ProjectNameCheck check
        = CheckProjectName(TextOf(typed), limit, TextOf(TallowResources::GetString(kDefaultName)));
    if (check.message != 0) {
        Alert(Alert::kExclamation, Alert::kOk, TextOf(TallowResources::GetString(check.message)).c_str());
        name->Assign(String(check.name.c_str()));
        return false;
    }
    FileReference current = FileReference::CurrentFolder();
    SmartPtr<FileReference> project = FileReference::FileReferenceInFolder(current, typed, true);
    FileReference::SetAsCurrentDirectory(*project.Get());
    return true;
}

} // namespace pw::app
