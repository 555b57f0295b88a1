// Reading legacy .xls workbooks for the workbook server; they are never written.

#include "platform/OfficeBook.h"

#include <QDataStream>
#include <QIODevice>

#include <freexl.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#if defined(__SANITIZE_ADDRESS__)
#define FABRICOR_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FABRICOR_ASAN 1
#endif
#endif
#ifdef FABRICOR_ASAN
#include <sanitizer/common_interface_defs.h>
#endif

namespace office {

namespace {

class THandle {
public:
    ~THandle()
    {
        if (FHandle)
            freexl_close(FHandle);
    }
    const void *FHandle = nullptr;
};

[[noreturn]] void Fail(const QString &Path, const QString &What)
{
    throw EOleException(QStringLiteral("'%1' is not a readable .xls workbook: %2").arg(Path, What));
}

void ReadDirect(const QString &Path, TBook &Book)
{
    THandle h;
    // The handle has to be closed even when opening fails.
    if (freexl_open(Path.toLocal8Bit().constData(), &h.FHandle) != FREEXL_OK)
        Fail(Path, QStringLiteral("the file is damaged or of another kind"));
    unsigned int count = 0;
    if (freexl_get_info(h.FHandle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        Fail(Path, QStringLiteral("no sheet list"));
    for (unsigned int i = 0; i < count && i < 0xFFFF; ++i) {
        TSheet sheet;
        const char *name = nullptr;
        if (freexl_get_worksheet_name(h.FHandle, static_cast<unsigned short>(i), &name) != FREEXL_OK || !name)
            Fail(Path, QStringLiteral("a sheet without a name"));
        sheet.Name = QString::fromUtf8(name);
        if (freexl_select_active_worksheet(h.FHandle, static_cast<unsigned short>(i)) != FREEXL_OK)
            Fail(Path, QStringLiteral("sheet %1 cannot be selected").arg(sheet.Name));
        unsigned int rows = 0;
        unsigned short cols = 0;
        if (freexl_worksheet_dimensions(h.FHandle, &rows, &cols) != FREEXL_OK)
            Fail(Path, QStringLiteral("sheet %1 has no size").arg(sheet.Name));
        if (rows > unsigned(MaxRows) || cols > MaxCols || std::size_t(rows) * cols > MaxCells)
            Fail(Path, QStringLiteral("sheet %1 is too large").arg(sheet.Name));
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < cols; ++c) {
                FreeXL_CellValue v;
                if (freexl_get_cell_value(h.FHandle, r, c, &v) != FREEXL_OK)
                    Fail(Path, QStringLiteral("a cell of sheet %1 cannot be read").arg(sheet.Name));
                TCell cell;
                switch (v.type) {
                case FREEXL_CELL_INT:
                    cell.Value = OleVariant::Number(v.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    cell.Value = OleVariant::Number(v.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    if (v.value.text_value && *v.value.text_value)
                        cell.Value = OleVariant::String(QString::fromUtf8(v.value.text_value));
                    break;
                default:
                    break;
                }
                if (cell.Value.IsEmpty())
                    continue;
                if (++Book.CellCount > MaxCells)
                    Fail(Path, QStringLiteral("too many cells"));
                sheet.Cells.emplace(std::make_pair(int(r) + 1, int(c) + 1), std::move(cell));
            }
        }
        Book.Sheets.push_back(std::move(sheet));
    }
    if (Book.Sheets.empty())
        Fail(Path, QStringLiteral("it has no worksheets"));
}

// The book as the child hands it to the parent: an error text (empty on success), then each
// sheet's name and cells.
QByteArray Pack(const TBook &Book, const QString &Error)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s << Error << quint32(Book.Sheets.size());
    for (const TSheet &sheet : Book.Sheets) {
        s << sheet.Name << quint32(sheet.Cells.size());
        for (const auto &[pos, cell] : sheet.Cells)
            s << qint32(pos.first) << qint32(pos.second) << qint32(cell.Value.Kind()) << cell.Value.AsNumber()
              << cell.Value.RawText();
    }
    return out;
}

void Unpack(const QByteArray &Data, const QString &Path, TBook &Book)
{
    QDataStream s(Data);
    QString error;
    quint32 sheets = 0;
    s >> error >> sheets;
    if (s.status() != QDataStream::Ok)
        Fail(Path, QStringLiteral("the reader stopped on it"));
    if (!error.isEmpty())
        throw EOleException(error);
    for (quint32 i = 0; i < sheets && s.status() == QDataStream::Ok; ++i) {
        TSheet sheet;
        quint32 cells = 0;
        s >> sheet.Name >> cells;
        for (quint32 k = 0; k < cells && s.status() == QDataStream::Ok; ++k) {
            qint32 r = 0, c = 0, kind = 0;
            double number = 0;
            QString text;
            s >> r >> c >> kind >> number >> text;
            TCell cell;
            cell.Value = kind == OleVariant::varNumber ? OleVariant::Number(number) : OleVariant::String(text);
            sheet.Cells.emplace(std::make_pair(int(r), int(c)), std::move(cell));
            ++Book.CellCount;
        }
        Book.Sheets.push_back(std::move(sheet));
    }
    if (s.status() != QDataStream::Ok)
        Fail(Path, QStringLiteral("the reader stopped on it"));
}

} // namespace

// The legacy reader reads past its buffers on some damaged files. It runs in a child process
// of its own, so that such a file costs an error message and never the program or its memory.
void ReadLegacyWorkbook(const QString &Path, TBook &Book)
{
    int fds[2];
    if (pipe(fds) != 0)
        Fail(Path, QStringLiteral("no pipe for the reader"));
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        Fail(Path, QStringLiteral("the reader cannot be started"));
    }
    if (pid == 0) {
        close(fds[0]);
        // A reader that dies here has met a damaged file: the parent reports it. The handlers a
        // checking build installs would take that death for a fault of the program.
#ifdef FABRICOR_ASAN
        __sanitizer_set_death_callback(nullptr);
#endif
        for (int sig : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL})
            signal(sig, SIG_DFL);
        TBook book;
        QString error;
        try {
            ReadDirect(Path, book);
        } catch (const Exception &e) {
            error = e.Message();
            book = TBook();
        }
        const QByteArray out = Pack(book, error);
        qsizetype done = 0;
        while (done < out.size()) {
            const ssize_t n = write(fds[1], out.constData() + done, std::size_t(out.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        _exit(done == out.size() ? 0 : 1);
    }
    close(fds[1]);
    QByteArray data;
    bool stuck = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p{fds[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, int(left.count())) == 0) {
            stuck = true;
            break;
        }
        char buf[65536];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        data.append(buf, qsizetype(n));
    }
    close(fds[0]);
    if (stuck)
        kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (stuck || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        Fail(Path, QStringLiteral("the file is damaged"));
    Unpack(data, Path, Book);
}

} // namespace office
