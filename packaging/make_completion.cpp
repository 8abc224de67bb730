// Writes the bash completion from its template and the option table:
//   make_completion TEMPLATE OUTPUT
// @OPTIONS@ becomes every long option; @PORT_OPTIONS@, @FILE_OPTIONS@, @REGISTER_OPTIONS@ and
// @VALUE_OPTIONS@ the case patterns of the options whose value is a port, a file, a register
// write or anything else; @REGISTERS@ the writable registers as "data= control=".
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/options.h"
#include "cli/signal_options.h"
#include "io/register_map.h"

namespace {

// The options whose value the completion offers as `kind`, as a case pattern: "--a | --b".
std::string Pattern(cli::Completion kind)
{
    std::string pattern;
    for (const cli::Option& option : cli::Options()) {
        if (option.value == cli::Value::None || option.completion != kind)
            continue;
        pattern += (pattern.empty() ? "--" : " | --") + std::string(option.name);
    }
    // A pattern no word matches keeps the case valid when no option is of that kind.
    return pattern.empty() ? "--@" : pattern;
}

void Replace(std::string& text, const std::string& key, const std::string& value)
{
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
        text.replace(at, key.size(), value);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_completion TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    if (!in || text.empty()) {
        std::cerr << "make_completion: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::string options;
    for (const cli::Option& option : cli::Options())
        options += (options.empty() ? "--" : " --") + std::string(option.name);
    const std::string registers = std::string(cli::RegisterName(io::lpt::kData)) + "= " +
                                  std::string(cli::RegisterName(io::lpt::kControl)) + "=";
    Replace(text, "@OPTIONS@", options);
    Replace(text, "@PORT_OPTIONS@", Pattern(cli::Completion::PortLabels));
    Replace(text, "@FILE_OPTIONS@", Pattern(cli::Completion::Files));
    Replace(text, "@REGISTER_OPTIONS@", Pattern(cli::Completion::Registers));
    Replace(text, "@VALUE_OPTIONS@", Pattern(cli::Completion::Nothing));
    Replace(text, "@REGISTERS@", registers);
    std::ofstream out(argv[2]);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "make_completion: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
