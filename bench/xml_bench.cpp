// Walking a large document as the system's readers do: Count, then each child by index and one
// attribute of it, against the same walk done with the XML library's own sibling iteration.
#include "platform/XMLDoc.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <string>

namespace {

constexpr int Rows = 1000000;

const std::string &RulesText()
{
    static const std::string text = [] {
        std::string s = "<Rules>";
        s.reserve(static_cast<std::size_t>(Rows) * 24);
        for (int i = 0; i < Rows; ++i)
            s += "<Row Id=\"" + std::to_string(i) + "\"/>";
        return s + "</Rules>";
    }();
    return text;
}

// The platform's document: children by index, the attribute by name, values as text.
void BM_XmlWalkByIndex(benchmark::State &state)
{
    auto doc = NewXMLDocument();
    doc->LoadFromBytes(QByteArray::fromStdString(RulesText()));
    const TXMLNode root = doc->DocumentElement();
    const UnicodeString id = QStringLiteral("Id");
    for (auto _ : state) {
        qsizetype total = 0;
        const int count = root.ChildNodes().Count();
        for (int i = 0; i < count; ++i)
            total += root.ChildNodes().Nodes(i).Attributes(id).size();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}

// The library walking its own sibling chain, each value made into text as the system reads it.
void BM_XmlWalkLibraryIteration(benchmark::State &state)
{
    pugi::xml_document doc;
    doc.load_buffer(RulesText().data(), RulesText().size());
    const pugi::xml_node root = doc.first_child();
    for (auto _ : state) {
        qsizetype total = 0;
        for (pugi::xml_node c = root.first_child(); c; c = c.next_sibling())
            total += QString::fromUtf8(c.attribute("Id").value()).size();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}

// The library's walk without making text of the values: the floor.
void BM_XmlWalkLibraryIterationRaw(benchmark::State &state)
{
    pugi::xml_document doc;
    doc.load_buffer(RulesText().data(), RulesText().size());
    const pugi::xml_node root = doc.first_child();
    for (auto _ : state) {
        std::size_t total = 0;
        for (pugi::xml_node c = root.first_child(); c; c = c.next_sibling())
            total += std::char_traits<char>::length(c.attribute("Id").value());
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}

} // namespace

BENCHMARK(BM_XmlWalkByIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlWalkLibraryIteration)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlWalkLibraryIterationRaw)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
