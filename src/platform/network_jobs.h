#pragma once
// The toolbox's network jobs: listing the connected interfaces, switching a WiFi hotspot on
// and off, and tuning up the connection (caches and DNS servers). Each job runs in processes
// of its own and is polled by its caller's timers; it never waits and never touches processes
// it did not start.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/result.h"

namespace platform {

// What an ended job did: ok when every step it took succeeded; otherwise each refused or
// failed step in plain words for the user. Notes say what the job did besides, in the same
// words.
struct JobOutcome {
    bool ok = false;
    std::vector<std::string> failures;
    std::vector<std::string> notes;
};

// A running job. Destroying it stops waiting and stops the processes the job started.
class NetworkJob {
public:
    virtual ~NetworkJob() = default;
    // Moves the job on without blocking; true once it has ended.
    virtual bool poll() = 0;
    // The outcome once poll() has returned true.
    [[nodiscard]] virtual const JobOutcome& outcome() const = 0;
};

// Where a job keeps its files and how it writes text.
struct JobPlace {
    // The tool folder, with a trailing separator.
    std::string toolFolder;
    // The code page of text files written there.
    std::string codePage;
};

struct HotspotRequest {
    JobPlace place;
    std::string ssid;
    std::string key;
    // The connection whose Internet access the hotspot shares.
    std::string connection;
    // The connection shared last time (its sharing is switched off first where that applies).
    std::string previousConnection;
};

struct TuneUpRequest {
    JobPlace place;
    std::string primaryDns;
    std::string secondaryDns;
    // Empties the running web engine's own HTTP cache, when there is one.
    std::function<Status()> clearEngineCache;
};

class NetworkJobs {
public:
    virtual ~NetworkJobs() = default;
    // Lists the interfaces into "wan.txt" in the tool folder, in the interface-table form the
    // runner window reads (see interfaceTableLine).
    virtual std::unique_ptr<NetworkJob> scan(const JobPlace& place) = 0;
    virtual std::unique_ptr<NetworkJob> hotspotOn(const HotspotRequest& request) = 0;
    virtual std::unique_ptr<NetworkJob> hotspotOff(const JobPlace& place, const std::string& connection) = 0;
    // Flushes the resolver cache, clears the web engine's cache and sets the two DNS servers on
    // the active wired, wireless and broadband connections that carry the default route,
    // recording each connection's own DNS settings first.
    virtual std::unique_ptr<NetworkJob> tuneUp(const TuneUpRequest& request) = 0;
    // Puts back the DNS settings the tune-ups recorded; a record whose connection no longer
    // exists is dropped (with a note).
    virtual std::unique_ptr<NetworkJob> restoreDns(const JobPlace& place) = 0;
};

// The name of the hotspot's own connection.
inline constexpr const char* kHotspotConnection = "zelvina_wifi";
// The file that hands the hotspot's key to NetworkManager (mode 0600, there only while the
// hotspot job runs).
inline constexpr const char* kHotspotKeyFile = "wifi_key.txt";
// The file that lists the interfaces, and the one that keeps the recorded DNS settings.
inline constexpr const char* kInterfaceListFile = "wan.txt";
inline constexpr const char* kDnsRecordFile = "dns_record.txt";

// One line of the interface table: the administrative state in characters 1 to 15, the state
// in 16 onwards ("已连接" when connected), the type, then ten spaces and the name.
std::string interfaceTableLine(bool connected, const std::string& name);
// The heading lines of the interface table.
std::vector<std::string> interfaceTableHeading();

// A connection's DNS settings as recorded before a tune-up changed them.
struct DnsRecord {
    std::string uuid;
    std::string device;
    std::string name;
    std::string servers;
    std::string ignoreAuto;
};
// The records in the tool folder's record file (none when it is missing or unreadable;
// malformed lines are skipped).
std::vector<DnsRecord> readDnsRecords(const JobPlace& place);
// Rewrites the record file (deletes it when there is nothing to keep).
bool writeDnsRecords(const JobPlace& place, const std::vector<DnsRecord>& records);

} // namespace platform
