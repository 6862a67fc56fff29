#include "common/data_folders.h"

#include "platform/environment.h"
#include "platform/textfile.h"
#include "runtime/app.h"

namespace common {

namespace {

// Folders count as present when the directory query finds them; missing ones are created
// without the trailing separator, parent first.
void ensureFolder(const std::string& withSeparator)
{
    if (platform::folderExists(withSeparator))
        return;
    std::string bare = withSeparator;
    while (bare.size() > 1 && bare.back() == platform::kSeparator)
        bare.pop_back();
    platform::createFolder(bare);
}

std::string sub(const std::string& root, const std::string& name)
{
    return root + name + platform::kSeparator;
}

} // namespace

DataPaths dataPaths(const runtime::App& app)
{
    const auto& env = app.service<platform::Environment>();
    DataPaths p;
    p.root = platform::joinPath(env.userProfile(), "my documents/zelv/");
    p.skin = sub(p.root, "skin");
    p.iniDb = p.skin + "ini.db";
    p.zelvJpg = p.skin + "zelv.jpg";
    p.temp = sub(p.root, "Temp");
    p.tool = sub(p.root, "tool");
    return p;
}

void EnsureDataFolders(const runtime::App& app)
{
    const DataPaths p = dataPaths(app);
    ensureFolder(platform::joinPath(app.service<platform::Environment>().userProfile(), "my documents/"));
    ensureFolder(p.root);
    ensureFolder(p.skin);
}

void EnsureTempFolder(const runtime::App& app)
{
    const DataPaths p = dataPaths(app);
    ensureFolder(platform::joinPath(app.service<platform::Environment>().userProfile(), "my documents/"));
    ensureFolder(p.root);
    ensureFolder(p.temp);
}

void EnsureToolFolder(const runtime::App& app)
{
    const DataPaths p = dataPaths(app);
    ensureFolder(platform::joinPath(app.service<platform::Environment>().userProfile(), "my documents/"));
    ensureFolder(p.root);
    ensureFolder(p.tool);
}

std::string codePage(const runtime::App& app)
{
    return app.service<platform::Environment>().codePage();
}

} // namespace common
