// The string-table generator: stringtable <output.cpp> <source.txt>... reads the program's string
// sources and writes the C++ table LoadStringA reads. Any fault (a malformed line, an id given in
// two files) is printed as file:line and fails the build.
#include "StringSource.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: stringtable <output.cpp> <source.txt>...\n";
        return 2;
    }
    std::vector<pw::tools::StringSourceEntry> all;
    std::map<uint32_t, std::string> origin;
    bool failed = false;
    for (int i = 2; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        if (!file) {
            std::cerr << argv[i] << ": cannot be read\n";
            failed = true;
            continue;
        }
        std::stringstream contents;
        contents << file.rdbuf();
        auto parsed = pw::tools::ParseStringSource(contents.str());
        for (const auto& error : parsed.errors)
            std::cerr << argv[i] << ":" << error.line << ": " << error.message << "\n";
        failed = failed || !parsed.errors.empty();
        for (auto& entry : parsed.entries) {
            std::string here = std::string(argv[i]) + ":" + std::to_string(entry.line);
            if (auto it = origin.find(entry.id); it != origin.end()) {
                std::cerr << here << ": id " << entry.id << " already given at " << it->second << "\n";
                failed = true;
                continue;
            }
            origin[entry.id] = here;
            all.push_back(std::move(entry));
        }
    }
    if (failed)
        return 1;
    std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << pw::tools::GenerateStringTable(all);
    if (!out) {
        std::cerr << argv[1] << ": cannot be written\n";
        return 1;
    }
    return 0;
}
