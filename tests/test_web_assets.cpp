// The embedded files of the web page set: every file of assets/web/ is in the
// program, byte for byte, under its own name, and nothing else is.
#include <dirent.h>

#include <set>
#include <string>

#include "harness.h"
#include "html/web/web_assets.h"

namespace {

using namespace harness;

TEST(WebAssets, EveryFileOfTheAssetFolderIsEmbeddedUnchanged) {
    const std::string folder = std::string(VEXO_SOURCE_DIR) + "/assets/web";
    std::set<std::string> files;
    DIR* dir = opendir(folder.c_str());
    ASSERT_NE(dir, nullptr) << folder;
    while (dirent* e = readdir(dir))
        if (e->d_name[0] != '.') files.insert(e->d_name);
    closedir(dir);
    EXPECT_TRUE(files.count("vexo.css") && files.count("vexo.js"));

    std::set<std::string> embedded;
    for (size_t i = 0; i < web_asset_count; i++) {
        const web_asset& a = web_assets[i];
        EXPECT_TRUE(embedded.insert(a.name).second) << "twice: " << a.name;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(a.data), a.size), read_file(folder + "/" + a.name))
            << a.name;
        EXPECT_EQ(a.data[a.size], 0) << a.name;
    }
    EXPECT_EQ(embedded, files);
}

}  // namespace
