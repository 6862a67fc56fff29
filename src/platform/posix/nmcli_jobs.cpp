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
    bool connected() const { return state == "connected" || state.rfind("connected (", 0) == 0; }
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

// Changes one active connection's DNS servers: reads and records its own first, then sets
// and applies the new ones.
void changeDns(StepJob* job, const TuneUpRequest& request, const DnsRecord& connection)
{
    job->addNext({ "nmcli", "-g", "ipv4.dns,ipv4.ignore-auto-dns", "connection", "show", connection.uuid },
        [job, request, connection](const CommandResult& r) {
            const std::vector<std::string> lines = outputLines(r.out);
            DnsRecord own = connection;
            own.servers = lines.empty() ? "" : lines[0];
            own.ignoreAuto = lines.size() > 1 && lines[1] == "yes" ? "yes" : "no";
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
    job->add(kDeviceList, [j, request](const CommandResult& r) {
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
        j->addNext({ "nmcli", "device", "wifi", "hotspot", "ifname", wifi, "con-name", kHotspotConnection,
                       "ssid", request.ssid, "password", request.key },
            [j](const CommandResult& h) {
                if (!h.started || h.exitCode != 0)
                    j->fail("WiFi没有建立：" + nmcliTrouble(h));
            });
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
            std::vector<DnsRecord> active;
            for (const std::string& line : outputLines(r.out)) {
                const std::vector<std::string> f = terseFields(line);
                if (f.size() == 4 && !f[0].empty() && !f[1].empty() && f[2] != "loopback")
                    active.push_back({ f[0], f[1], f[3], {}, {} });
            }
            if (active.empty())
                return j->fail("没有连通的网络连接，DNS没有设置");
            // Queued in front of each other, so they run in the listed order.
            for (auto it = active.rbegin(); it != active.rend(); ++it)
                changeDns(j, request, *it);
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
