#include "tests/support/SoundServer.h"

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr const char* kSink = "pellmoor_null";

}  // namespace

SoundServer::SoundServer() : ownRoot_(true)
{
    char pattern[] = "/tmp/sound-server-test.XXXXXX";
    root_ = mkdtemp(pattern);
    Prepare();
}

SoundServer::SoundServer(const std::string& folder, const std::string& address) : root_(folder), address_(address)
{
    Prepare();
}

void SoundServer::Prepare()
{
    for (const char* d : {"home", "runtime", "pulse-runtime", "pulse-state"}) {
        fs::create_directory(fs::path(root_) / d);
        fs::permissions(fs::path(root_) / d, fs::perms::owner_all);
    }
    std::ofstream(root_ + "/server.pa") << "load-module module-native-protocol-unix socket=" << root_
                                        << "/native auth-anonymous=1\n";
    std::ofstream(root_ + "/client.conf") << "autospawn = no\n";
    // Streams are sent to the sink by name, which every server honours; PipeWire's will not make
    // a new sink the default.
    const std::pair<const char*, std::string> vars[] = {
        {"HOME", root_ + "/home"},
        {"XDG_RUNTIME_DIR", root_ + "/runtime"},
        {"PULSE_RUNTIME_PATH", root_ + "/pulse-runtime"},
        {"PULSE_STATE_PATH", root_ + "/pulse-state"},
        {"PULSE_CLIENTCONFIG", root_ + "/client.conf"},
        {"PULSE_SERVER", address_.empty() ? "unix:" + root_ + "/native" : address_},
        {"PULSE_SINK", kSink},
        {"DBUS_SESSION_BUS_ADDRESS", "disabled:"},
    };
    for (const auto& [name, value] : vars) {
        setenv(name, value.c_str(), 1);
    }
    // The server needs no display, and must not start a message bus for one.
    env_ = ChildProcess::Environment({}, {"DISPLAY"});
}

SoundServer::~SoundServer()
{
    Stop();
    if (ownRoot_) {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
}

void SoundServer::Stop()
{
    recorder_.Stop();
    anchor_.Stop();
    if (!address_.empty() && !sinkModule_.empty()) {
        Pactl({"unload-module", sinkModule_}, "/dev/null");
    }
    sinkModule_.clear();
    server_.Stop();
}

int SoundServer::Pactl(const std::vector<std::string>& args, const std::string& output)
{
    std::vector<std::string> all{"pactl"};
    all.insert(all.end(), args.begin(), args.end());
    return ChildProcess::Run(all, env_, Log(), {.file = output});
}

bool SoundServer::Start()
{
    if (address_.empty() &&
        !server_.Start({"pulseaudio", "-n", "-F", root_ + "/server.pa", "--daemonize=no", "--exit-idle-time=-1",
                        "--use-pid-file=no", "--log-target=file:" + root_ + "/pulse.txt", "--log-level=debug"},
                       env_, Log(), {.file = root_ + "/server-out.txt"})) {
        error_ = "pulseaudio could not be started";
        return false;
    }
    bool up = false;
    for (int i = 0; i < 100 && !up; ++i) {
        up = Pactl({"info"}, "/dev/null") == 0;
        if (!up) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    if (!up) {
        error_ = address_.empty() ? "pulseaudio did not come up" : "the server at " + address_ + " did not answer";
        return false;
    }
    // load-module prints the module's number, by which a given server is rid of it again.
    std::string module = root_ + "/sink-module.txt";
    if (Pactl({"load-module", "module-null-sink", std::string("sink_name=") + kSink, "rate=44100", "channels=2"},
              module) != 0) {
        error_ = "no null sink";
        return false;
    }
    std::getline(std::ifstream(module), sinkModule_);
    if (address_.empty() && Pactl({"set-default-sink", kSink}, "/dev/null") != 0) {
        error_ = "the null sink could not be made the default";
        return false;
    }
    return true;
}

bool SoundServer::HoldShortLatency()
{
    bool anchored = anchor_.Start(
        {"pacat", "--raw", "--format=s16le", "--rate=44100", "--channels=2", "--latency-msec=10", "/dev/zero"}, env_,
        Log(), {.file = "/dev/null"});
    std::string sinks = root_ + "/sinks.txt";
    for (int i = 0; anchored && i < 100; ++i) {
        Pactl({"list", "sinks"}, sinks);
        std::ifstream in(sinks);
        for (std::string line; std::getline(in, line);) {
            std::size_t at = line.find("\tLatency: ");
            if (at != std::string::npos && std::atoll(line.c_str() + at + 10) < 50000) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    error_ = "the sink did not settle to a short latency";
    return false;
}

bool SoundServer::StartRecording()
{
    recording_ = root_ + "/recording.raw";
    return StartRecorder({.file = recording_});
}

bool SoundServer::StartRecording(int fd)
{
    recording_.clear();
    return StartRecorder({.fd = fd, .file = {}});
}

bool SoundServer::StartRecorder(const ChildProcess::Output& output)
{
    if (!recorder_.Start({"parec", std::string("--device=") + kSink + ".monitor", "--raw", "--format=s16le",
                          "--rate=44100", "--channels=2", "--latency-msec=2"},
                         env_, Log(), output)) {
        error_ = "parec could not be started";
        return false;
    }
    // The recording runs once its stream is listed.
    std::string outputs = root_ + "/source-outputs.txt";
    for (int i = 0; i < 100; ++i) {
        Pactl({"list", "short", "source-outputs"}, outputs);
        std::ifstream in(outputs);
        std::string line;
        if (std::getline(in, line) && !line.empty()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    error_ = "parec did not connect";
    return false;
}

std::vector<std::int16_t> SoundServer::StopRecording()
{
    recorder_.Stop();
    if (recording_.empty()) {
        return {};
    }
    std::ifstream in(recording_, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 4 * 2);
    std::copy_n(bytes.data(), samples.size() * 2, reinterpret_cast<char*>(samples.data()));
    return samples;
}

std::string SoundServer::Query(const std::vector<std::string>& args)
{
    std::string output = root_ + "/query.txt";
    Pactl(args, output);
    std::ifstream in(output);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string SoundServer::StreamProperty(const std::string& stream, const std::string& name)
{
    std::istringstream in(Query({"list", "sink-inputs"}));
    std::string value;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Sink Input #", 0) == 0) {
            value.clear();
        }
        std::size_t at = line.find(name + ": ");
        if (at != std::string::npos) {
            value = line.substr(at + name.size() + 2);
        }
        if (line.find("media.name = \"" + stream + "\"") != std::string::npos) {
            return value;
        }
    }
    return {};
}

int SoundServer::LogLines(const std::string& text)
{
    std::ifstream in(root_ + "/pulse.txt");
    int n = 0;
    for (std::string line; std::getline(in, line);) {
        n += line.find(text) != std::string::npos;
    }
    return n;
}
