// nrx_acq_standin: a stand-in for the acquisition process. Fills the
// acquisition segment with numbered test packets at a steady rate (see
// standin_packets.hpp for what the packets hold) until it is stopped by
// SIGINT, SIGTERM or SIGHUP, or has written a given number of packets.
//
// It refuses a segment that already exists unless told otherwise, so that it
// cannot overwrite a live acquisition by accident, and it removes only a
// segment it created itself.
#include <sys/shm.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>

#include "acquisition/segment.hpp"
#include "acquisition/standin_packets.hpp"

namespace {

using namespace nrx::acquisition;
using Clock = std::chrono::steady_clock;

// A format: %s is the segment key.
const char usage[] =
    "usage: nrx_acq_standin [--interval MS] [--count N] [--existing] [--keep] [--help]\n"
    "\n"
    "Writes test packets into the acquisition segment (System V key %s),\n"
    "cycling through its 600 packets, until stopped by SIGINT, SIGTERM or SIGHUP.\n"
    "\n"
    "  --interval MS  milliseconds from one packet to the next (default 10;\n"
    "                 0 writes as fast as possible)\n"
    "  --count N      stop after N packets (default 0: no limit)\n"
    "  --existing     also write into a segment that already exists (by default\n"
    "                 the program refuses it: it may belong to a live acquisition)\n"
    "  --keep         leave a segment this program created in place when it stops\n"
    "                 (by default it is removed; one it did not create never is)\n";

struct Options {
    long long interval_ms = 10;
    long long count = 0;
    bool existing = false;
    bool keep = false;
};

// The segment key as the messages show it: 0x followed by upper-case hex digits.
std::string key_text()
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(segment_key));
    return text;
}

void print_usage(std::FILE* stream) { std::fprintf(stream, usage, key_text().c_str()); }

volatile std::sig_atomic_t stop_requested = 0;

void request_stop(int) { stop_requested = 1; }

// A whole number from `max` down to 0, or -1 when `text` is not one.
long long parse_count(const char* text, long long max)
{
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 0 || value > max) {
        return -1;
    }
    return value;
}

bool parse_options(int argc, char* argv[], Options& options)
{
    for (int a = 1; a < argc; ++a) {
        const std::string option = argv[a];
        if (option == "--help" || option == "-h") {
            print_usage(stdout);
            std::exit(0);
        } else if (option == "--existing") {
            options.existing = true;
        } else if (option == "--keep") {
            options.keep = true;
        } else if ((option == "--interval" || option == "--count") && a + 1 < argc) {
            // A day between packets, or 2^62 packets, is more than enough.
            long long& value = option == "--interval" ? options.interval_ms : options.count;
            value = parse_count(argv[++a], option == "--interval" ? 86400000LL : 1LL << 62);
            if (value < 0) {
                std::fprintf(stderr, "nrx_acq_standin: %s needs a whole number, not '%s'\n", option.c_str(), argv[a]);
                return false;
            }
        } else {
            std::fprintf(stderr, "nrx_acq_standin: unknown option '%s'\n", option.c_str());
            return false;
        }
    }
    return true;
}

void install_stop_handlers()
{
    struct sigaction action {};
    action.sa_handler = request_stop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a signal cuts the pause short
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
        sigaddset(&stop_signals, signal);
    }
    // A program started from the host inherits the host's blocked signals,
    // among them these three: unblocked, so that a stop request arrives.
    sigprocmask(SIG_UNBLOCK, &stop_signals, nullptr);
}

// Pauses until `deadline` or until a stop is requested, whichever is first.
void pause_until(Clock::time_point deadline)
{
    while (stop_requested == 0) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) {
            return;
        }
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec pause{static_cast<std::time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        nanosleep(&pause, nullptr);
    }
}

// Attaches the segment: a new one when none exists, an existing one only
// when allowed. Sets `created` when this process made it.
bool attach_segment(Attachment& segment, bool existing_allowed, bool& created)
{
    created = false;
    const char* failed = segment.attach(IPC_EXCL);
    if (failed == nullptr) {
        created = true;
        return true;
    }
    if (segment.id() != -1) {
        // Made, but not attached: take it away again.
        const int error = errno;
        shmctl(segment.id(), IPC_RMID, nullptr);
        errno = error;
    } else if (errno == EEXIST) {
        if (!existing_allowed) {
            std::fprintf(stderr,
                         "nrx_acq_standin: a segment with key %s already exists and may belong to a live "
                         "acquisition; pass --existing to write into it\n",
                         key_text().c_str());
            return false;
        }
        failed = segment.attach();
        if (failed == nullptr) {
            return true;
        }
    }
    std::fprintf(stderr, "nrx_acq_standin: %s: %s\n", failed, std::strerror(errno));
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    Options options;
    if (!parse_options(argc, argv, options)) {
        print_usage(stderr);
        return 2;
    }
    install_stop_handlers();

    Attachment segment;
    bool created = false;
    if (!attach_segment(segment, options.existing, created)) {
        return 1;
    }
    std::int32_t sequence = last_sequence(segment.words());
    std::fprintf(stderr, "nrx_acq_standin: writing packets from sequence number %d into %s segment %s\n",
                 sequence + 1, created ? "a new" : "the existing", key_text().c_str());

    const Clock::time_point start = Clock::now();
    const Clock::duration interval = std::chrono::milliseconds(options.interval_ms);
    Clock::time_point next = start;
    long long written = 0;
    int status = 0;
    while (stop_requested == 0 && (options.count == 0 || written < options.count)) {
        if (sequence == std::numeric_limits<std::int32_t>::max()) {
            std::fprintf(stderr, "nrx_acq_standin: no sequence numbers left after %d\n", sequence);
            status = 1;
            break;
        }
        ++sequence;
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        write_standin_packet(segment.words(), sequence, static_cast<std::int32_t>(elapsed % (1LL << 31)));
        ++written;
        // Keep the rate without bursts: when late, write the next packet at
        // once and count the intervals from there instead of catching up.
        next = std::max(next + interval, Clock::now());
        if (options.count == 0 || written < options.count) {
            pause_until(next);
        }
    }
    std::fprintf(stderr, "nrx_acq_standin: wrote %lld packets, last sequence number %d\n", written, sequence);

    if (created && !options.keep) {
        shmctl(segment.id(), IPC_RMID, nullptr);
    }
    if (const char* failed = segment.detach()) {
        std::fprintf(stderr, "nrx_acq_standin: %s: %s\n", failed, std::strerror(errno));
        status = 1;
    }
    return status;
}
