#include "Fetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

// One request on its way: which address, which try, where the redirects led.
struct Transfer {
    std::size_t target = 0;
    std::string url;
    std::string host;
    int redirects = 0;
    std::size_t bytes = 0;
    std::size_t maxBytes = 0;
    Clock::time_point tryStarted;  // when the current try began, before any redirect
    Clock::time_point notBefore;
    bool newTry = true;
};

std::string HostOf(const std::string& url) {
    CURLU* u = curl_url();
    std::string host;
    char* part = nullptr;
    if (curl_url_set(u, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
        curl_url_get(u, CURLUPART_HOST, &part, 0) == CURLUE_OK) {
        host = part;
        curl_free(part);
    }
    curl_url_cleanup(u);
    return host;
}

bool IsHttps(const std::string& url) {
    return url.size() >= 8 && std::equal(url.begin(), url.begin() + 8, "https://", [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b;
           });
}

// Keeps at most maxBytes of the body; anything more ends the transfer.
size_t CountBody(char*, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (t->bytes + n > t->maxBytes) {
        t->bytes = t->maxBytes;
        return 0;
    }
    t->bytes += n;
    return n;
}

}  // namespace

std::vector<std::vector<TryResult>> FetchAll(const std::vector<std::string>& addresses, const FetchOptions& options,
                                             const std::function<void(std::size_t, std::size_t)>& progress) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!initialised) throw std::runtime_error("libcurl could not be initialised");

    std::vector<std::vector<TryResult>> results(addresses.size());
    std::deque<std::unique_ptr<Transfer>> waiting;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        auto t = std::make_unique<Transfer>();
        t->target = i;
        t->url = addresses[i];
        t->host = HostOf(t->url);
        t->maxBytes = options.maxBytes;
        waiting.push_back(std::move(t));
    }

    CURLM* multi = curl_multi_init();
    curl_multi_setopt(multi, CURLMOPT_MAX_TOTAL_CONNECTIONS, static_cast<long>(options.jobs));
    curl_multi_setopt(multi, CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(options.perHost));
    curl_multi_setopt(multi, CURLMOPT_PIPELINING, static_cast<long>(CURLPIPE_NOTHING));
    std::map<CURL*, std::unique_ptr<Transfer>> active;
    std::map<std::string, int> perHost;
    std::size_t done = 0;

    auto start = [&](std::unique_ptr<Transfer> t) {
        CURL* easy = curl_easy_init();
        curl_easy_setopt(easy, CURLOPT_URL, t->url.c_str());
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);  // redirects are followed here, https only
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(options.timeoutSeconds * 1000));
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_USERAGENT, "orvenna-check/2.0");
        curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CountBody);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, t.get());
        if (!options.caFile.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, options.caFile.c_str());
        t->bytes = 0;
        if (t->newTry) t->tryStarted = Clock::now();
        t->newTry = false;
        ++perHost[t->host];
        curl_multi_add_handle(multi, easy);
        active[easy] = std::move(t);
    };

    auto finishTry = [&](std::unique_ptr<Transfer> t, TryResult r) {
        auto& tries = results[t->target];
        tries.push_back(r);
        if (r.outcome == Outcome::Answered2xx || static_cast<int>(tries.size()) >= options.tries) {
            ++done;
            if (progress) progress(done, addresses.size());
            return;
        }
        // Another try, a while later, from the address itself.
        t->url = addresses[t->target];
        t->host = HostOf(t->url);
        t->redirects = 0;
        t->newTry = true;
        t->notBefore = Clock::now() + std::chrono::milliseconds(static_cast<long>(options.retryDelaySeconds * 1000));
        waiting.push_back(std::move(t));
    };

    while (done < addresses.size()) {
        // Start what may start: ready, within the overall and the per-host caps.
        const auto now = Clock::now();
        for (auto it = waiting.begin(); it != waiting.end() && static_cast<int>(active.size()) < options.jobs;) {
            if ((*it)->notBefore <= now && perHost[(*it)->host] < options.perHost) {
                std::unique_ptr<Transfer> t = std::move(*it);
                it = waiting.erase(it);
                start(std::move(t));
            } else {
                ++it;
            }
        }
        int running = 0;
        curl_multi_perform(multi, &running);
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi, &left)) {
            if (msg->msg != CURLMSG_DONE) continue;
            CURL* easy = msg->easy_handle;
            std::unique_ptr<Transfer> t = std::move(active[easy]);
            active.erase(easy);
            --perHost[t->host];
            TryResult r;
            r.seconds = std::chrono::duration<double>(Clock::now() - t->tryStarted).count();
            r.bytes = t->bytes;
            r.finalAddress = t->url;
            curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &r.status);
            const CURLcode code = msg->data.result;
            char* location = nullptr;
            curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &location);
            const std::string next = location ? location : "";
            curl_multi_remove_handle(multi, easy);
            curl_easy_cleanup(easy);

            const bool bodyCapped = code == CURLE_WRITE_ERROR && t->bytes >= t->maxBytes && r.status != 0;
            if (code != CURLE_OK && !bodyCapped) {
                r.status = 0;
                r.outcome = Outcome::NoAnswer;
                r.error = curl_easy_strerror(code);
            } else if (r.status >= 300 && r.status < 400 && !next.empty()) {
                if (!IsHttps(next)) {
                    r.outcome = Outcome::Failed;
                    r.error = "redirect to a non-https address, not followed: " + next;
                } else if (t->redirects >= options.maxRedirects) {
                    r.outcome = Outcome::Failed;
                    r.error = "more than " + std::to_string(options.maxRedirects) + " redirects";
                } else {
                    // The same try goes on at the new address.
                    t->url = next;
                    t->host = HostOf(next);
                    ++t->redirects;
                    t->notBefore = Clock::now();
                    waiting.push_front(std::move(t));
                    continue;
                }
            } else {
                r.outcome = OutcomeOf(r.status);
                if (r.outcome != Outcome::Answered2xx) r.error = "HTTP " + std::to_string(r.status);
            }
            finishTry(std::move(t), r);
        }
        if (done < addresses.size()) curl_multi_poll(multi, nullptr, 0, 50, nullptr);
    }
    curl_multi_cleanup(multi);
    return results;
}
