// Takes the deployment tool's place in the tests. It prints its arguments,
// then behaves as the computer it is given asks (see Behave); "createinifile"
// writes Vantor.ini into its current directory, and then waits as "slow"
// does when the test has left a file "settings.hold" there.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>

namespace {

void Write(std::string_view text) {
    fwrite(text.data(), 1, text.size(), stdout);
    fflush(stdout);
}

// Waits until the test creates the file (the test's go-ahead).
void WaitForFile(const char* name) {
    while (access(name, F_OK) != 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

// A child that keeps our standard output open; its process id goes to a file
// so that the test can end it.
void StartPipeHolder() {
    const pid_t child = fork();
    if (child == 0) {
        pause();
        _exit(0);
    }
    std::ofstream("holder.pid") << child << '\n';
}

// Prints "waiting", then "went" once the test has created "go".
void WaitForGoAhead() {
    Write("waiting\n");
    WaitForFile("go");
    Write("went\n");
}

int Behave(std::string_view computer) {
    if (computer == "lines") {
        Write("one\r\ntwo\r\nthree\n");
    } else if (computer == "long") {
        Write(std::string(10000, 'x') + "\nafter\n");
    } else if (computer == "zero") {
        Write(std::string_view("a\0b\n", 4));
    } else if (computer == "unfinished") {
        Write("no line feed");
    } else if (computer == "holder") {
        StartPipeHolder();
        Write("parent done\n");
    } else if (computer == "slow") {
        WaitForGoAhead();
    } else if (computer == "dribble") {
        // One line over two writes, the second with a line's start.
        Write("par");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Write("ted\nnext");
    } else if (computer == "exact") {
        Write(std::string(4095, 'x') + "\n" + std::string(4094, 'y') + "\n");
    } else if (computer == "flood") {
        // 2,500 lines, the 1,500th telling of an error.
        for (int i = 1; i <= 2500; ++i)
            Write(i == 1500 ? std::string("Error 5: Access is denied.\n") : "line " + std::to_string(i) + "\n");
    } else if (computer == "forever") {
        StartPipeHolder();
        Write("hanging\n");
        for (;;)
            pause();
    } else if (computer == "failing") {
        Write("Error 53: The network path was not found.\n");
    } else if (computer == "shouting") {
        Write("ERROR IN CAPITALS ONLY\n");
    } else if (computer == "quitting") {
        Write("setup ended early\n");
        return 3;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string line = "args";
    std::string_view computer;
    for (int i = 1; i < argc; ++i) {
        line += " [" + std::string(argv[i]) + "]";
        if (std::strcmp(argv[i], "-computer") == 0 && i + 1 < argc)
            computer = argv[i + 1];
    }
    Write(line + "\n");
    if (argc > 1 && std::strcmp(argv[1], "createinifile") == 0) {
        std::ofstream("Vantor.ini") << "[settings]\n";
        Write("settings written\n");
        if (access("settings.hold", F_OK) == 0)
            WaitForGoAhead();
    }
    return Behave(computer);
}
