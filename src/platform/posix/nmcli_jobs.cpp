#include "platform/posix/nmcli_jobs.h"

#include <filesystem>
#include <memory>

#include "platform/posix/step_job.h"
#include "platform/textfile.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

// One line of "nmcli -t -f DEVICE,TYPE,STATE,CONNECTION device".
struct Device {
    std::string name;
    std::string type;
    std::string state;
    std::string connection;
    [[nodiscard]] bool connected() const { return state == "connected" || state.starts_with("connected ("); }
};

const std::vector<std::string> kDeviceList
    = { "nmcli", "-t", "-f", "DEVICE,TYPE,STATE,CONNECTION", "device" };

std::vector<Device> devices(const std::string& out)
{
    std::vector<Device> list;
    for (const std::string& line : outputLines(out)) {
        const std::vector<std::string> f = terseFields(line);
        if (f.size() == 4 && !f[0].empty())
            list.push_back({ f[0], f[1], f[2], f[3] });
    }
    return list;
}

// What the user may share: connected devices that reach somewhere, not the hotspot itself.
bool shareable(const Device& d)
{
    return d.type != "loopback" && d.connection != kHotspotConnection && !d.connection.empty();
}

// Whether a recorded server list is what nmcli prints for addresses (and nothing a later
// command line could misread).
bool plausibleServers(const std::string& servers)
{
    return servers.find_first_not_of("0123456789abcdefABCDEF.:, ") == std::string::npos;
}

// Empties a folder, never the protected one or a folder above it.
Status emptyFolder(const std::string& folder, const std::string& protectedFolder)
{
    std::error_code ec;
    const fs::path target = fs::weakly_canonical(folder, ec);
    if (ec || !fs::is_directory(target, ec))
        return Status::success();
    const fs::path guard = fs::weakly_canonical(protectedFolder, ec);
    const auto rel = guard.lexically_relative(target);
    if (target == target.root_path() || (!rel.empty() && *rel.begin() != ".."))
        return Status::failure("缓存文件夹设置不当，未清除");
    for (const auto& entry : fs::directory_iterator(target, ec)) {
        std::error_code one;
        fs::remove_all(entry.path(), one);
        if (one)
            return Status::failure("浏览器缓存没有全部清除：" + one.message());
    }
    return ec ? Status::failure("浏览器缓存没有清除：" + ec.message()) : Status::success();
}

// Records the connection's DNS settings unless an earlier tune-up already did: the first
// record is the user's own setting.
bool record(const JobPlace& place, const DnsRecord& r)
{
    std::vector<DnsRecord> records = readDnsRecords(place);
    for (const DnsRecord& old : records) {
        if (old.uuid == r.uuid)
            return true;
    }
    records.push_back(r);
    return writeDnsRecords(place, records);
}

void forget(const JobPlace& place, const std::string& uuid)
{
    std::vector<DnsRecord> records = readDnsRecords(place);
    std::erase_if(records, [&](const DnsRecord& r) { return r.uuid == uuid; });
    writeDnsRecords(place, records);
}

// The connection types whose DNS servers the tune-up sets: wired, wireless and broadband
// (nmcli names them by their setting, newer versions also by a short name).
bool tunableType(const std::string& type)
{
    for (const char* t : { "802-3-ethernet", "ethernet", "802-11-wireless", "wifi", "pppoe", "gsm" }) {
        if (type == t)
            return true;
    }
    return false;
}

// Changes one active connection's DNS servers when it carries the default route: reads and
// records its own first, then sets and applies the new ones.
void changeDns(StepJob* job, const TuneUpRequest& request, const DnsRecord& connection,
    const std::shared_ptr<int>& changed)
{
    job->addNext({ "nmcli", "-t", "-f", "GENERAL.DEFAULT,ipv4.method,ipv4.dns,ipv4.ignore-auto-dns",
                     "connection", "show", connection.uuid },
        [job, request, connection, changed](const CommandResult& r) {
            const std::string method = terseValue(r.out, "ipv4.method");
            // Sound: only the way out to the Internet gets the servers; a connection shared to
            // others or without IPv4 is left as it is.
            if (r.started && r.exitCode == 0
                && (terseValue(r.out, "GENERAL.DEFAULT") != "yes"
                    || (method != "auto" && method != "manual")))
                return;
            DnsRecord own = connection;
            own.servers = terseValue(r.out, "ipv4.dns");
            own.ignoreAuto = terseValue(r.out, "ipv4.ignore-auto-dns") == "yes" ? "yes" : "no";
            ++*changed;
            if (!r.started || r.exitCode != 0 || !plausibleServers(own.servers)) {
                job->fail("读不到连接“" + connection.name + "”原来的DNS，未修改它");
                return;
            }
            if (!record(request.place, own)) {
                job->fail("无法在工具文件夹记录连接“" + connection.name + "”原来的DNS，未修改它");
                return;
            }
            job->addNext({ "nmcli", "connection", "modify", connection.uuid, "ipv4.dns",
                             request.primaryDns + " " + request.secondaryDns, "ipv4.ignore-auto-dns", "yes" },
                [job, connection](const CommandResult& m) {
                    if (!m.started || m.exitCode != 0) {
                        job->fail("连接“" + connection.name + "”的DNS没有改成：" + nmcliTrouble(m));
                        return;
                    }
                    job->addNext({ "nmcli", "device", "reapply", connection.device },
                        [job, connection](const CommandResult& a) {
                            if (!a.started || a.exitCode != 0)
                                job->fail("连接“" + connection.name + "”的DNS已设置，重新连接后生效");
                        });
                });
        });
}

// The line of nmcli's password file that gives the hotspot its key. nmcli trims blanks around
// the value and reads "\" as an escape, so blanks and backslashes are escaped.
std::string keyFileText(const std::string& key)
{
    std::string line = "802-11-wireless-security.psk:";
    for (char c : key) {
        if (c == '\\' || c == ' ')
            line += '\\';
        line += c;
    }
    return line + "\n";
}

// Makes the hotspot's connection on the card afresh and starts it.
void makeHotspot(
    StepJob* j, const HotspotRequest& request, const std::string& card, const std::string& keyFile)
{
    j->addNext({ "nmcli", "connection", "delete", "id", kHotspotConnection }, [=](const CommandResult& d) {
        // 10: there was none left from before.
        if (!d.started || (d.exitCode != 0 && d.exitCode != 10))
            return j->fail("WiFi没有建立：" + nmcliTrouble(d));
        // Sound: the key never travels on a command line, where every local user could read it:
        // the connection is made without it, and nmcli reads it at the start from a file that
        // only this user can read and that goes when the job ends.
        j->addNext({ "nmcli", "connection", "add", "type", "wifi", "ifname", card, "con-name",
                       kHotspotConnection, "autoconnect", "no", "ssid", request.ssid, "802-11-wireless.mode",
                       "ap", "ipv4.method", "shared", "ipv6.method", "ignore", "wifi-sec.key-mgmt", "wpa-psk",
                       "wifi-sec.proto", "rsn", "wifi-sec.pairwise", "ccmp", "wifi-sec.group", "ccmp" },
            [=](const CommandResult& a) {
                if (!a.started || a.exitCode != 0)
                    return j->fail("WiFi没有建立：" + nmcliTrouble(a));
                // A key file left behind is removed by the next start's sweep.
                if (fileExists(keyFile))
                    std::ignore = deleteFile(keyFile);
                if (!writePrivateFile(keyFile, keyFileText(request.key)))
                    return j->fail("工具文件夹不能写入：" + request.place.toolFolder);
                j->addNext({ "nmcli", "connection", "up", "id", kHotspotConnection, "passwd-file", keyFile },
                    [j](const CommandResult& u) {
                        if (!u.started || u.exitCode != 0)
                            j->fail("WiFi没有建立：" + nmcliTrouble(u));
                    });
            });
    });
}

} // namespace

NmcliJobs::NmcliJobs(std::string browserCacheFolder, std::string protectedFolder)
    : m_cache(std::move(browserCacheFolder))
    , m_protected(std::move(protectedFolder))
{
}

std::unique_ptr<NetworkJob> NmcliJobs::scan(const JobPlace& place)
{
    auto job = std::make_unique<StepJob>();
    StepJob* j = job.get();
    job->add(kDeviceList, [j, place](const CommandResult& r) {
        if (!r.started || r.exitCode != 0) {
            j->fail(nmcliTrouble(r));
            return;
        }
        std::vector<std::string> lines = interfaceTableHeading();
        for (const Device& d : devices(r.out)) {
            if (shareable(d))
                lines.push_back(interfaceTableLine(d.connected(), d.connection));
        }
        if (!writeFileAtomic(place.toolFolder + kInterfaceListFile, encodeLines(lines, place.codePage)))
            j->fail("工具文件夹不能写入：" + place.toolFolder);
    });
    return job;
}

std::unique_ptr<NetworkJob> NmcliJobs::hotspotOn(const HotspotRequest& request)
{
    auto job = std::make_unique<StepJob>();
    StepJob* j = job.get();
    const std::string keyFile = request.place.toolFolder + kHotspotKeyFile;
    job->atEnd([keyFile] {
        if (fileExists(keyFile))
            std::ignore = deleteFile(keyFile); // else the next start's sweep removes it
    });
    job->add(kDeviceList, [j, request, keyFile](const CommandResult& r) {
        if (!r.started || r.exitCode != 0) {
            j->fail(nmcliTrouble(r));
            return;
        }
        const std::vector<Device> all = devices(r.out);
        bool shared = false;
        bool anyWifi = false;
        std::string wifi;
        for (const Device& d : all) {
            if (d.connection == request.connection && d.connected())
                shared = true;
            if (d.type == "wifi") {
                anyWifi = true;
                // A card that carries the shared connection cannot also be the hotspot.
                if (wifi.empty() && d.connection != request.connection)
                    wifi = d.name;
            }
        }
        if (!shared)
            return j->fail("所选的网络连接“" + request.connection + "”没有连通");
        if (!anyWifi)
            return j->fail("没有找到无线网卡，不能建立WiFi");
        if (wifi.empty())
            return j->fail("无线网卡正用于所选的网络连接，不能同时建立WiFi");
        makeHotspot(j, request, wifi, keyFile);
    });
    return job;
}

std::unique_ptr<NetworkJob> NmcliJobs::hotspotOff(const JobPlace&, const std::string&)
{
    auto job = std::make_unique<StepJob>();
    StepJob* j = job.get();
    job->add({ "nmcli", "connection", "delete", kHotspotConnection }, [j](const CommandResult& r) {
        if (r.started && r.exitCode == 10)
            j->fail("没有找到本程序建立的WiFi");
        else if (!r.started || r.exitCode != 0)
            j->fail("WiFi没有删除：" + nmcliTrouble(r));
    });
    return job;
}

namespace {

// The active connections whose DNS may be set, from nmcli's terse UUID,DEVICE,TYPE,NAME lines.
std::vector<DnsRecord> tunableConnections(const std::string& out)
{
    std::vector<DnsRecord> active;
    for (const std::string& line : outputLines(out)) {
        const std::vector<std::string> f = terseFields(line);
        // Sound: never a VPN, bridge, loopback, tunnel or other virtual connection.
        if (f.size() == 4 && !f[0].empty() && !f[1].empty() && tunableType(f[2]))
            active.push_back({ f[0], f[1], f[3], {}, {} });
    }
    return active;
}

} // namespace

std::unique_ptr<NetworkJob> NmcliJobs::tuneUp(const TuneUpRequest& request)
{
    auto job = std::make_unique<StepJob>();
    StepJob* j = job.get();
    const std::string cache = m_cache;
    const std::string guard = m_protected;
    if (!cache.empty()) {
        job->addWork([j, cache, guard] {
            const Status cleared = emptyFolder(cache, guard);
            if (!cleared)
                j->fail(cleared.error);
        });
    }
    if (request.clearEngineCache) {
        job->addWork([j, clear = request.clearEngineCache] {
            if (!clear())
                j->fail("浏览器缓存没有清除");
        });
    }
    // The resolver's cache, where a caching resolver runs.
    if (onPath("resolvectl")) {
        job->add({ "resolvectl", "flush-caches" }, [j](const CommandResult& r) {
            if (!r.started || r.exitCode != 0)
                j->fail("DNS缓存没有清除");
        });
    }
    job->add({ "nmcli", "-t", "-f", "UUID,DEVICE,TYPE,NAME", "connection", "show", "--active" },
        [j, request](const CommandResult& r) {
            if (!r.started || r.exitCode != 0)
                return j->fail("DNS没有设置：" + nmcliTrouble(r));
            const std::vector<DnsRecord> active = tunableConnections(r.out);
            auto changed = std::make_shared<int>(0);
            // Queued in front of each other, so they run in the listed order, before the check.
            j->addWork([j, changed] {
                if (*changed == 0)
                    j->fail("没有连通互联网的有线、无线或宽带连接，DNS没有设置");
            });
            for (auto it = active.rbegin(); it != active.rend(); ++it)
                changeDns(j, request, *it, changed);
        });
    return job;
}

std::unique_ptr<NetworkJob> NmcliJobs::restoreDns(const JobPlace& place)
{
    auto job = std::make_unique<StepJob>();
    StepJob* j = job.get();
    const std::vector<DnsRecord> records = readDnsRecords(place);
    if (records.empty())
        job->fail("没有记录过原来的DNS");
    for (const DnsRecord& r : records) {
        if (!plausibleServers(r.servers) || (r.ignoreAuto != "yes" && r.ignoreAuto != "no")) {
            job->fail("连接“" + r.name + "”的记录已损坏，没有恢复");
            continue;
        }
        job->add({ "nmcli", "connection", "modify", r.uuid, "ipv4.dns", r.servers, "ipv4.ignore-auto-dns",
                     r.ignoreAuto },
            [j, place, r](const CommandResult& m) {
                // Sound: a record whose connection was deleted since can never be put back; it
                // is dropped rather than failing every restore.
                if (m.started && m.exitCode == 10) {
                    forget(place, r.uuid);
                    return j->note("连接“" + r.name + "”已不存在，已删除它的DNS记录");
                }
                if (!m.started || m.exitCode != 0)
                    return j->fail("连接“" + r.name + "”的DNS没有恢复：" + nmcliTrouble(m));
                forget(place, r.uuid);
                // Applied now where the connection is up; otherwise at its next start.
                if (!r.device.empty())
                    j->addNext({ "nmcli", "device", "reapply", r.device }, {});
            });
    }
    return job;
}

} // namespace platform
