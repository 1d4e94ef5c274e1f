// Every built plug-in must load as a shared module and export exactly the two
// entry points the host looks for, with the fixed version string: nothing
// else of a plug-in can clash with another's or with the host's symbols.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
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

// The names of the dynamic symbols a module defines, as nm lists them.
std::set<std::string> defined_dynamic_symbols(const std::string& path)
{
    const std::string command = "nm -D --defined-only '" + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::set<std::string> names;
    char line[4096];
    while (pipe && std::fgets(line, sizeof line, pipe.get())) {
        std::istringstream fields(line);
        std::string address, kind, name;
        if (fields >> address >> kind >> name) names.insert(name);
    }
    return names;
}

class PluginExports : public testing::TestWithParam<std::string> {};

TEST_P(PluginExports, ExportsExactlyMexFunctionAndVersion)
{
    const std::string path = std::string(NRX_PLUGIN_DIR) + "/" + GetParam() + ".mex";
    EXPECT_EQ(defined_dynamic_symbols(path), (std::set<std::string>{"mexFunction", "mexVersion"}));

    // Host functions stay unresolved until called: lazy binding is enough here.
    void* module = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    EXPECT_NE(dlsym(module, "mexFunction"), nullptr);
    auto version = reinterpret_cast<const char* (*)()>(dlsym(module, "mexVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version(), "MATLAB R14 native");
    dlclose(module);
}

INSTANTIATE_TEST_SUITE_P(AllPlugins, PluginExports, testing::ValuesIn(plugin_names()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
