#pragma once
// Shared by the tools' command lines (orv-cli, orv-ampsim), both declared with CLI11.
#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace orv::tools {

// "--name=" with nothing after the "=" is an empty value. CLI11 would take the next argument as
// the value instead ("--port= Out.ZBP" would use Out.ZBP as the port), so such an argument of an
// option that takes a value is handed on as "--name" followed by an empty argument; the option's
// own check then refuses the empty value. Arguments after "--" are left alone.
inline std::vector<std::string> keepEmptyValues(const CLI::App& app,
                                                const std::vector<std::string>& args) {
  std::vector<std::string> result;
  bool options = true;
  for (const std::string& a : args) {
    if (a == "--") options = false;
    if (options && a.size() > 3 && a.rfind("--", 0) == 0 && a.find('=') == a.size() - 1) {
      const std::string name = a.substr(0, a.size() - 1);
      const CLI::Option* option = app.get_option_no_throw(name);
      if (option && option->get_expected_min() > 0) {
        result.push_back(name);
        result.emplace_back();
        continue;
      }
    }
    result.push_back(a);
  }
  return result;
}

}  // namespace orv::tools
