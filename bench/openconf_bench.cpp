// The open dialog listing a folder of many configurations, against a plain listing of the same
// folder's names: the listing with its filter and order, and the whole showing with the list box
// filled in its window.
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UOpenConf.h"
#include "platform/StdCtrls.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <dirent.h>
#include <memory>

namespace {

constexpr int Folders = 20000;

// A program folder whose PROJECTS holds the configurations, made once for the run.
const QTemporaryDir &ProgramDir()
{
    static QTemporaryDir dir = [] {
        QTemporaryDir d;
        QDir projects(d.path());
        projects.mkdir(QStringLiteral("PROJECTS"));
        projects.cd(QStringLiteral("PROJECTS"));
        for (int i = 0; i < Folders; ++i)
            projects.mkdir(QStringLiteral("%1_%2").arg(i % 2 ? QStringLiteral("Plant") : QStringLiteral("line")).arg((i * 7919) % Folders, 5, 10, QLatin1Char('0')));
        return d;
    }();
    return dir;
}

void BM_OpenDialogListing(benchmark::State &state)
{
    Set_Program_Paths(ProgramDir().path());
    Load_Default_Lang();
    auto form = std::make_unique<TFOpenConf>(nullptr);
    for (auto _ : state) {
        form->Load_Existing_Configuration();
        benchmark::DoNotOptimize(form->SL->Count());
    }
    if (form->SL->Count() != Folders)
        state.SkipWithError("not every configuration was listed");
    state.SetItemsProcessed(state.iterations() * Folders);
}

void BM_OpenDialogShowing(benchmark::State &state)
{
    Set_Program_Paths(ProgramDir().path());
    Load_Default_Lang();
    Path_Active_Conf = Path_Projects + QStringLiteral("\\Plant_00001");
    auto form = std::make_unique<TFOpenConf>(nullptr);
    form->HandleNeeded();
    for (auto _ : state) {
        form->FormShow(form.get());
        benchmark::DoNotOptimize(form->ListBox1->Items()->Count());
    }
    if (form->ListBox1->Items()->Count() != Folders)
        state.SkipWithError("not every configuration was listed");
    state.SetItemsProcessed(state.iterations() * Folders);
}

// The folder's names as the system hands them out, nothing else.
void BM_PlainFolderListing(benchmark::State &state)
{
    const QByteArray folder = QFile::encodeName(ProgramDir().path() + QStringLiteral("/PROJECTS"));
    for (auto _ : state) {
        QStringList names;
        DIR *dir = ::opendir(folder.constData());
        while (const dirent *d = ::readdir(dir))
            names.append(QFile::decodeName(d->d_name));
        ::closedir(dir);
        benchmark::DoNotOptimize(names.size());
    }
    state.SetItemsProcessed(state.iterations() * Folders);
}

} // namespace

BENCHMARK(BM_OpenDialogListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDialogShowing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainFolderListing)->Unit(benchmark::kMillisecond);
