#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"

// A private PulseAudio server for one test program: its socket, state and logs in a scratch
// folder, a null sink as the default output, and parec recording the sink's monitor into a file.
// The process's own environment is pointed at it (server, home, runtime folder), so that the
// program's sound goes there and nothing of the machine's is read or written. It loads only its
// own start-up script, so it runs as root as it does as a user.
class SoundServer {
public:
    SoundServer();
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // Starts the server and the sink; false (with the reason in Error()) when either fails.
    bool Start();
    // Records the sink's monitor from now on.
    bool StartRecording();
    const std::string& Error() const { return error_; }
    // Stops the recording and returns it: interleaved stereo, 16 bits, 44100 Hz.
    std::vector<std::int16_t> StopRecording();
    // The value of a line of `pactl list sink-inputs` for the stream of that media name, e.g.
    // "Buffer Latency" gives "59727 usec"; empty when there is none.
    std::string StreamProperty(const std::string& stream, const std::string& name);
    // Lines of the server's log holding the text.
    int LogLines(const std::string& text);

private:
    int Pactl(const std::vector<std::string>& args, const std::string& output);
    // The errors of the server and of every program started for it.
    std::string Log() const { return root_ + "/log.txt"; }

    std::string root_;
    std::string error_;
    std::vector<std::string> env_;
    ChildProcess server_;
    ChildProcess recorder_;
    ChildProcess anchor_;
};
