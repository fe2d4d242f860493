#include "platform/wsd/EndpointCollection.h"

namespace vn::wsd {

EndpointCollection::Entry* EndpointCollection::Find(const PeerAddress& source, const std::string& endpoint) {
    const auto found = index_.find(Key(source, endpoint));
    return found == index_.end() ? nullptr : &entries_[found->second];
}

EndpointCollection::Entry* EndpointCollection::Make(const PeerAddress& source, const std::string& endpoint) {
    if (Entry* known = Find(source, endpoint))
        return known;
    // Entries a Bye took out still count, so that announcing and leaving
    // over and over cannot grow the collection past its caps.
    if (entries_.size() >= limits_.maxEndpoints || perAddress_[source] >= limits_.maxEndpointsPerAddress)
        return nullptr;
    ++perAddress_[source];
    index_.emplace(Key(source, endpoint), entries_.size());
    entries_.push_back({{source, endpoint, {}}, false});
    return &entries_.back();
}

void EndpointCollection::Accept(const PeerAddress& source, const WsdDatagram& datagram,
                                const std::set<std::string>& ourMessages, std::vector<Key>& toResolve) {
    const bool announcement = datagram.action == WsdAction::Hello || datagram.action == WsdAction::Bye;
    if (!announcement && !ourMessages.count(datagram.relatesTo))
        return;
    for (const WsdMatch& match : datagram.matches) {
        Entry* entry = nullptr;
        switch (datagram.action) {
        case WsdAction::ProbeMatches:
            entry = match.computer ? Make(source, match.endpoint) : nullptr;
            if (entry && entry->gone)
                entry = nullptr;  // a late repeat of what it said before it left
            break;
        case WsdAction::Hello:
            // Hosts announce themselves without their types too (as wsdd
            // does); the metadata tells whether a computer answers.
            entry = match.computer || !match.typed ? Make(source, match.endpoint) : nullptr;
            if (entry && entry->gone) {
                entry->gone = false;
                entry->endpoint.xaddrs.clear();  // where it serves now
            }
            break;
        case WsdAction::ResolveMatches: entry = Find(source, match.endpoint); break;
        case WsdAction::Bye:
            if (Entry* leaving = Find(source, match.endpoint))
                leaving->gone = true;
            break;
        case WsdAction::Other: break;
        }
        if (!entry || !entry->endpoint.xaddrs.empty())
            continue;
        entry->endpoint.xaddrs = match.xaddrs;
        if (entry->endpoint.xaddrs.empty() && resolving_.insert(Key(source, match.endpoint)).second)
            toResolve.emplace_back(source, match.endpoint);
    }
}

std::vector<EndpointCollection::Key> EndpointCollection::Unresolved() const {
    std::vector<Key> out;
    for (const Key& key : resolving_) {
        const Entry& entry = entries_[index_.at(key)];
        if (!entry.gone && entry.endpoint.xaddrs.empty())
            out.push_back(key);
    }
    return out;
}

std::vector<AnsweredEndpoint> EndpointCollection::Take() {
    std::vector<AnsweredEndpoint> out;
    for (Entry& entry : entries_) {
        if (!entry.gone)
            out.push_back(std::move(entry.endpoint));
    }
    entries_.clear();
    index_.clear();
    resolving_.clear();
    return out;
}

}  // namespace vn::wsd
