// Writes "ZUdavu.dat" from a data number and a UTF-8 text file with one ticker message
// per line. Used by the build for the program directory.
#include <fstream>
#include <iostream>
#include <string>

#include "core/shell/program_data.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make_program_data NUMBER MESSAGES.txt OUT.dat\n";
        return 2;
    }
    tf::ProgramData data;
    data.dataNumber = std::stoi(argv[1]);
    std::ifstream in(argv[2]);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            data.tickerMessages.push_back(line);
        }
    }
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out << tf::buildProgramData(data);
    return out ? 0 : 1;
}
