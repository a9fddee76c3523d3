#pragma once
// A stand-in for the list of quantities and units: installed for its lifetime, it
// answers each pick with the next queued choice (or Cancel when none is queued) and
// counts the openings.

#include "core/services.h"

#include <QString>
#include <deque>
#include <utility>

namespace orvek::test {

class QuantityListDouble : public QuantityListService {
public:
    QuantityListDouble()
        : previous_(QuantityUnitList())
    {
        SetQuantityListService(this);
    }
    ~QuantityListDouble() override { SetQuantityListService(previous_); }
    QuantityListDouble(const QuantityListDouble&) = delete;
    QuantityListDouble& operator=(const QuantityListDouble&) = delete;

    void AnswerPick(const QString& quantityName, const QString& unit) { picks.emplace_back(quantityName, unit); }

    bool PickQuantity(QString& quantityName, QString& unit) override
    {
        ++openings;
        if (picks.empty())
            return false;
        quantityName = picks.front().first;
        unit = picks.front().second;
        picks.pop_front();
        return true;
    }

    std::deque<std::pair<QString, QString>> picks;
    int openings = 0;

private:
    QuantityListService* previous_ = nullptr;
};

} // namespace orvek::test
