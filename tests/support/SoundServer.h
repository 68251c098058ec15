#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"

// A private PulseAudio server for one test or benchmark program: its socket, state and logs in a
// scratch folder, a null sink that programs play into, and parec recording the sink's monitor.
// The process's own environment is pointed at it (server, sink, home, runtime folder), so that
// the program's sound, and that of the programs it starts with that environment, goes there and
// nothing of the machine's is read or written. It loads only its own start-up script, so it runs
// as root as it does as a user.
class SoundServer {
public:
    // Everything in a scratch folder of its own, removed at the end.
    SoundServer();
    // In the given folder, which is left in place (with the logs) for its owner to remove. With an
    // address (e.g. "unix:/run/user/0/pulse/native") the server already running there is used in
    // place of one of our own: only the sink is added to it, and taken away again by Stop().
    SoundServer(const std::string& folder, const std::string& address);
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // Starts the server (unless one was given) and the sink, the default sink of a server of our
    // own; false (with the reason in Error()) when either fails. Until a playing stream asks for
    // a short latency, the null sink renders two seconds at a time.
    bool Start();
    // Keeps a silent stream playing that asks for a short latency, so that the sink renders in
    // short blocks from now on instead of running far ahead of the clock; true once it does.
    bool HoldShortLatency();
    // Records the sink's monitor from now on (interleaved stereo, 16 bits, 44100 Hz), into a
    // file that StopRecording() returns, or into the descriptor (a pipe's end, say; the caller
    // still closes its own). True once the recording's stream is listed.
    bool StartRecording();
    bool StartRecording(int fd);
    // Stops the recording and returns what it wrote into its file (nothing when it was recording
    // into a descriptor).
    std::vector<std::int16_t> StopRecording();
    // Ends the recording and the silent stream, takes the sink away from a server that was given
    // and ends a server of our own. The destructor does this too.
    void Stop();
    const std::string& Error() const { return error_; }

    // What pactl prints for those arguments, e.g. {"list", "sink-inputs"}.
    std::string Query(const std::vector<std::string>& args);
    // The value of a line of `pactl list sink-inputs` for the stream of that media name, e.g.
    // "Buffer Latency" gives "59727 usec"; empty when there is none.
    std::string StreamProperty(const std::string& stream, const std::string& name);
    // Lines of our own server's log holding the text.
    int LogLines(const std::string& text);
    // Where the errors of the server and of every program started for it go.
    std::string Log() const { return root_ + "/log.txt"; }

private:
    void Prepare();
    int Pactl(const std::vector<std::string>& args, const std::string& output);
    bool StartRecorder(const ChildProcess::Output& output);

    std::string root_;
    bool ownRoot_ = false;
    std::string address_;
    std::string error_;
    std::vector<std::string> env_;
    std::string sinkModule_;
    std::string recording_;  // the recording's file, when it records into one
    ChildProcess server_;
    ChildProcess recorder_;
    ChildProcess anchor_;
};
