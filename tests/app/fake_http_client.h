#pragma once

#include "app/version_check.h"

#include <QList>

// Answers every request with a fixed body (or a failure) and records what was asked.
class FakeHttpClient final : public swz::HttpClient
{
public:
    explicit FakeHttpClient(std::optional<QByteArray> reply = std::nullopt)
        : reply(std::move(reply))
    {
    }
    std::optional<QByteArray> get(const swz::HttpRequest &request) override
    {
        requests.append(request);
        return reply;
    }

    std::optional<QByteArray> reply;
    QList<swz::HttpRequest> requests;
};
