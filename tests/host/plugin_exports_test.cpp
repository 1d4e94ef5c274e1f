// Every built plug-in must load as a shared module and export the two entry
// points the host looks for, with the fixed version string.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> plugin_names()
{
    std::vector<std::string> names;
    std::stringstream list(NRX_PLUGIN_NAMES);
    for (std::string name; std::getline(list, name, ',');) names.push_back(name);
    return names;
}

class PluginExports : public testing::TestWithParam<std::string> {};

TEST_P(PluginExports, ExportsMexFunctionAndVersion)
{
    const std::string path = std::string(NRX_PLUGIN_DIR) + "/" + GetParam() + ".mex";
    // Host functions stay unresolved until called: lazy binding is enough here.
    void* module = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    EXPECT_NE(dlsym(module, "mexFunction"), nullptr);
    auto version = reinterpret_cast<const char* (*)()>(dlsym(module, "mexVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version(), "MATLAB R14 native");
    EXPECT_STREQ(version(), "MATLAB R14 native");
    dlclose(module);
}

INSTANTIATE_TEST_SUITE_P(AllPlugins, PluginExports, testing::ValuesIn(plugin_names()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
