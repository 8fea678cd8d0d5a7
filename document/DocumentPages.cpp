// The pages of a document: files of pages opened and saved, pages shown, page commands.

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "document/CanvasFiles.h"
#include "document/Document.h"
#include "grid/LineModel.h"
#include "pagefile/PageFile.h"
#include "platform/FileAccess.h"

namespace masumemo::document {

/// The bytes of the file of pages opened (or last saved) and where its pages lie.
struct Document::Source
{
    std::string bytes;
    pagefile::PageLayout layout;
    FileForm form;
};

namespace {

pagefile::PartsFormat partsFormat(FileForm::Format format)
{
    return format == FileForm::Format::Ast ? pagefile::PartsFormat::Ast
                                           : pagefile::PartsFormat::Mlt;
}

std::string_view lineBreakOf(LineEnds ends)
{
    switch (ends) {
    case LineEnds::Lf: return "\n";
    case LineEnds::Cr: return "\r";
    case LineEnds::CrLf: break;
    }
    return "\r\n";
}

pagefile::PageFileForm pageFileForm(const FileForm& form)
{
    return {partsFormat(form.format), form, lineBreakOf(form.lineEnds)};
}

std::string_view bodyOf(const std::string& bytes, const pagefile::PageSpan& span)
{
    return std::string_view(bytes).substr(span.bodyStart, span.bodyEnd - span.bodyStart);
}

bool fitsOpened(int keta, int gyou)
{
    return 2LL * keta * gyou <= grid::kMaxOpenedCanvasUnits;
}

/// text (a fitted canvas) brought to keta x gyou.
std::u16string sized(std::u16string text, int fromKeta, int fromGyou, int keta, int gyou)
{
    if (fromKeta != keta) {
        text = grid::resizeColumns(text, keta);
    }
    if (fromGyou != gyou || fromKeta != keta) {
        text = grid::resizeLines(text, gyou, keta);
    }
    return text;
}

/// The lines of a page that are written: the blank lines at its end past its file lines only
/// pad the canvas.
std::vector<std::u16string> writtenLines(const std::u16string& text, int fileLines)
{
    std::vector<std::u16string> lines = grid::canvasLines(text);
    while (static_cast<int>(lines.size()) > fileLines && !lines.empty() &&
           grid::withoutTrailingSpaces(lines.back()).empty()) {
        lines.pop_back();
    }
    return lines;
}

Page pageOf(const std::vector<std::u16string>& lines, int keta, int gyou)
{
    Page page;
    page.keta = keta;
    page.gyou = gyou;
    std::vector<std::u16string_view> views(lines.begin(), lines.end());
    const grid::FittedCanvas fitted = grid::fitToGrid(views);
    page.text = sized(fitted.text, fitted.keta, fitted.gyou, keta, gyou);
    page.fileLines = static_cast<int>(lines.size());
    page.history.reset({page.text, 0, keta, gyou});
    return page;
}

constexpr size_t kPageUndoSteps = 30;

}  // namespace

int pageNumberWidth(int count)
{
    int digits = 1;
    for (int n = count; n >= 10; n /= 10) {
        ++digits;
    }
    return digits;
}

std::shared_ptr<Document::Source> Document::readPagesFile(const QString& path,
                                                          FileForm::Format format,
                                                          QString* error)
{
    platform::FileBytes read = platform::readRegularFile(path, pagefile::kMaxPageFileBytes);
    if (read.problem != platform::FileProblem::None) {
        *error = platform::problemText(read.problem);
        return nullptr;
    }
    auto source = std::make_shared<Source>();
    source->bytes.assign(read.bytes.constData(), static_cast<size_t>(read.bytes.size()));
    read.bytes.clear();
    const std::string& bytes = source->bytes;
    if (bytes.find('\0') != std::string::npos) {
        *error = QStringLiteral("テキストファイルではありません（NUL文字を含んでいます）。");
        return nullptr;
    }
    source->layout = pagefile::splitPages(bytes, partsFormat(format));
    const pagefile::PageLayout& layout = source->layout;

    FileForm& form = source->form;
    form.format = format;
    const bool utf8 = layout.detected.encoding == pagefile::TextEncoding::Utf8;
    form.encoding = utf8 ? grid::TextEncoding::Utf8 : grid::TextEncoding::Cp932;
    form.byteOrderMark = layout.detected.bomLength > 0;
    if (!utf8 && bytes.find("&#") != std::string::npos) {
        std::u16string text = grid::decodeText(bytes, {});
        grid::decodeReferencesInPlace(text, &form.spelling);
    }
    form.lineEnds = layout.lineBreak == "\n"   ? LineEnds::Lf
                    : layout.lineBreak == "\r" ? LineEnds::Cr
                                               : LineEnds::CrLf;
    return source;
}

OpenReport Document::openPages(const QString& path, FileForm::Format format)
{
    OpenReport report;
    std::shared_ptr<Source> source = readPagesFile(path, format, &report.error);
    if (!source) {
        return report;
    }
    const std::string& bytes = source->bytes;
    const pagefile::PageLayout& layout = source->layout;

    // Every page is read once, to know the largest; the text is read again when it is shown.
    const size_t count = layout.pages.size();
    std::vector<Page> pages(std::max<size_t>(count, 1));
    int keta = 0;
    int gyou = 0;
    for (size_t i = 0; i < count; ++i) {
        const std::string_view body = bodyOf(bytes, layout.pages[i]);
        const grid::CanvasFile page = pagefile::measurePageBody(body, layout);
        if (page.tooLarge) {
            report.error =
                QStringLiteral("ﾍﾟｰｼﾞ %1: %2").arg(i + 1).arg(document::tooLargeText());
            return report;
        }
        report.substituted = report.substituted || page.substituted;
        report.controlsDropped = report.controlsDropped || page.controlsDropped;
        Page& p = pages[i];
        p.keta = page.canvas.keta;
        p.gyou = page.canvas.gyou;
        p.source = static_cast<int>(i);
        p.fileLines = pagefile::bodyLineCount(body);
        p.name = std::u16string(layout.name(i));
        p.loaded = false;
        p.history = History();
        keta = std::max(keta, p.keta);
        gyou = std::max(gyou, p.gyou);
    }
    // One canvas size for all, unless pages of very different shapes would make it too large.
    if (fitsOpened(keta, gyou)) {
        for (size_t i = 0; i < count; ++i) {
            pages[i].keta = keta;
            pages[i].gyou = gyou;
        }
    }
    const FileForm form = source->form;

    report.ok = true;
    prepareChange();
    m_pages = std::move(pages);
    m_source = std::move(source);
    m_current = 0;
    m_pageUndo.clear();
    load(0);
    textChanged(0, -1, page().gyou);
    setForm(form);
    setModified(false);
    setPath(path);
    emit pagesChanged();
    return report;
}

void Document::adoptFilePages(std::vector<Page>& pages, const QString& path,
                              FileForm::Format format)
{
    if (format == FileForm::Format::Text || path.isEmpty()) {
        return;
    }
    // The file may have changed since the snapshot: only a page whose text is still what the
    // file's page reads as stands for that page's bytes, so pages the user never touched are
    // written back as they were.
    QString error;
    std::shared_ptr<const Source> file = readPagesFile(path, format, &error);
    if (!file) {
        return;
    }
    const size_t count = file->layout.pages.size();
    // Pages moved, inserted or deleted shift the rest: those are found by their text.
    std::unordered_map<std::u16string, int> byText;
    int mappedKeta = -1;
    int mappedGyou = -1;
    const auto match = [&](const Page& p) -> int {
        const size_t same = static_cast<size_t>(&p - pages.data());
        if (same < count &&
            sourceTextOf(file.get(), static_cast<int>(same), p.keta, p.gyou) == p.text) {
            return static_cast<int>(same);
        }
        if (p.keta != mappedKeta || p.gyou != mappedGyou) {
            byText.clear();
            for (size_t i = count; i-- > 0;) {
                byText[sourceTextOf(file.get(), static_cast<int>(i), p.keta, p.gyou)] =
                    static_cast<int>(i);
            }
            mappedKeta = p.keta;
            mappedGyou = p.gyou;
        }
        const auto found = byText.find(p.text);
        return found == byText.end() ? -1 : found->second;
    };
    for (Page& p : pages) {
        p.source = match(p);
        if (p.source >= 0) {
            p.fileLines = pagefile::bodyLineCount(
                bodyOf(file->bytes, file->layout.pages[static_cast<size_t>(p.source)]));
        }
    }
    m_source = std::move(file);
}

std::u16string Document::sourceText(int source, int keta, int gyou) const
{
    return sourceTextOf(m_source.get(), source, keta, gyou);
}

std::u16string Document::sourceTextOf(const Source* from, int source, int keta, int gyou)
{
    if (!from || source < 0 || static_cast<size_t>(source) >= from->layout.pages.size()) {
        return {};
    }
    const std::string_view body = bodyOf(from->bytes, from->layout.pages[static_cast<size_t>(source)]);
    const grid::CanvasFile read = pagefile::readPageBody(body, from->layout);
    return sized(read.canvas.text, read.canvas.keta, read.canvas.gyou, keta, gyou);
}

std::function<std::u16string()> Document::pageTextReader(int i) const
{
    const Page& p = pageAt(i);
    if (p.loaded) {
        return [text = p.text] { return text; };
    }
    // The source is never changed once read, and the function keeps it alive.
    return [from = m_source, source = p.source, keta = p.keta, gyou = p.gyou] {
        return sourceTextOf(from.get(), source, keta, gyou);
    };
}

void Document::load(int i)
{
    Page& p = m_pages[static_cast<size_t>(i)];
    if (p.loaded) {
        return;
    }
    p.text = sourceText(p.source, p.keta, p.gyou);
    p.caret = 0;
    p.history.reset({p.text, 0, p.keta, p.gyou});
    p.loaded = true;
}

std::u16string Document::pageText(int i) const
{
    const Page& p = pageAt(i);
    return p.loaded ? p.text : sourceText(p.source, p.keta, p.gyou);
}

bool Document::pageIsBlank(int i) const
{
    const std::u16string text = pageText(i);
    return std::all_of(text.begin(), text.end(), [](char16_t c) {
        return c == u' ' || c == u'\u3000' || c == u'\r' || c == u'\n';
    });
}

bool Document::savePages(const QString& path, const FileForm& form, QString* error)
{
    const pagefile::PageFileForm written = pageFileForm(form);
    const Source* source = m_source.get();
    const bool verbatim = source && source->form.format == form.format &&
                          source->form.encoding == form.encoding &&
                          source->form.byteOrderMark == form.byteOrderMark &&
                          source->form.lineEnds == form.lineEnds;
    std::vector<pagefile::PageToWrite> pages;
    // A file without pages shows one empty page; left as it is, it adds nothing to the file.
    const bool placeholder = verbatim && source->layout.pages.empty() && m_pages.size() == 1 &&
                             page().source < 0 && page().text.empty();
    for (int k = 0; k < pageCount() && !placeholder; ++k) {
        const Page& p = pageAt(k);
        pagefile::PageToWrite page;
        if (verbatim && p.source >= 0) {
            page.source = static_cast<size_t>(p.source);
            if (p.loaded && p.text != sourceText(p.source, p.keta, p.gyou)) {
                page.body = pagefile::pageBody(p.text, p.fileLines, written);
            }
            if (p.name != source->layout.name(page.source.value())) {
                page.name = p.name;
            }
        } else {
            page.body = pagefile::pageBody(pageText(k), p.fileLines, written);
            page.name = p.name;
        }
        pages.push_back(std::move(page));
    }
    auto saved = std::make_shared<Source>();
    saved->bytes = verbatim ? pagefile::joinPages(pages, written, source->bytes, &source->layout)
                            : pagefile::joinPages(pages, written);
    const platform::FileProblem problem = platform::writeWholeFile(path, saved->bytes);
    if (problem != platform::FileProblem::None) {
        if (error) {
            *error = platform::problemText(problem);
        }
        return false;
    }
    saved->layout = pagefile::splitPages(saved->bytes, written.format);
    saved->form = form;
    // The pages now stand for the bytes just written; pages kept for a page command to take
    // back are read first, as they belong to no page of the new file.
    const auto detach = [this](Page& p) {
        if (!p.loaded) {
            p.text = sourceText(p.source, p.keta, p.gyou);
            p.history.reset({p.text, 0, p.keta, p.gyou});
            p.loaded = true;
        }
        p.source = -1;
    };
    for (PageStep& step : m_pageUndo) {
        std::for_each(step.removed.begin(), step.removed.end(), detach);
    }
    const bool same = saved->layout.pages.size() == m_pages.size();
    for (size_t k = 0; k < m_pages.size(); ++k) {
        Page& p = m_pages[k];
        if (!same) {
            detach(p);
            continue;
        }
        p.source = static_cast<int>(k);
        p.fileLines = pagefile::bodyLineCount(bodyOf(saved->bytes, saved->layout.pages[k]));
    }
    m_source = std::move(saved);
    return true;
}

std::vector<int> Document::pageFileLines() const
{
    std::vector<int> lines(m_pages.size(), 0);
    if (!m_source) {
        return lines;
    }
    // The line each page of the file starts on, counted in one pass.
    const std::string& bytes = m_source->bytes;
    const std::vector<pagefile::PageSpan>& spans = m_source->layout.pages;
    std::vector<int> lineOfSource(spans.size(), 1);
    size_t at = 0;
    int line = 1;
    for (size_t k = 0; k < spans.size(); ++k) {
        const size_t start = spans[k].bodyStart;
        for (; at < start; ++at) {
            if (bytes[at] == '\n' ||
                (bytes[at] == '\r' && (at + 1 >= bytes.size() || bytes[at + 1] != '\n'))) {
                ++line;
            }
        }
        lineOfSource[k] = line;
    }
    for (size_t i = 0; i < m_pages.size(); ++i) {
        const int source = m_pages[i].source;
        if (source >= 0 && static_cast<size_t>(source) < spans.size()) {
            lines[i] = lineOfSource[static_cast<size_t>(source)];
        }
    }
    return lines;
}

void Document::setCurrentIndex(int i)
{
    if (i < 0 || i >= pageCount() || i == m_current) {
        return;
    }
    prepareChange();
    m_current = i;
    load(i);
    showCurrent();
}

void Document::showCurrent()
{
    emit currentChanged(m_current);
    textChanged(0, -1, page().gyou);
}

void Document::replacePages(std::vector<Page> pages, int current)
{
    prepareChange();
    if (pages.empty()) {
        pages.emplace_back();
    }
    m_pages = std::move(pages);
    for (int i = 0; i < pageCount(); ++i) {
        Page& p = m_pages[static_cast<size_t>(i)];
        if (!p.loaded && p.source < 0) {
            p.loaded = true;  // nothing to read it from: it is the text it holds
        }
    }
    m_current = std::clamp(current, 0, pageCount() - 1);
    m_pageUndo.clear();
    load(m_current);
    emit pagesChanged();
    showCurrent();
}

Page Document::blankPage() const
{
    const Page& shown = page();
    return pageOf({}, shown.keta, shown.gyou);
}

void Document::splicePages(int at, int count, std::vector<Page> pages, int current)
{
    prepareChange();
    PageStep step;
    step.at = at;
    step.inserted = static_cast<int>(pages.size());
    step.current = m_current;
    const auto first = m_pages.begin() + at;
    step.removed.assign(std::make_move_iterator(first), std::make_move_iterator(first + count));
    m_pages.erase(first, first + count);
    m_pages.insert(m_pages.begin() + at, std::make_move_iterator(pages.begin()),
                   std::make_move_iterator(pages.end()));
    m_pageUndo.push_back(std::move(step));
    if (m_pageUndo.size() > kPageUndoSteps) {
        m_pageUndo.erase(m_pageUndo.begin());
    }
    m_current = std::clamp(current, 0, pageCount() - 1);
    load(m_current);
    setModified(true);
    emit pagesChanged();
    showCurrent();
}

void Document::undoPageCommand()
{
    if (m_pageUndo.empty()) {
        return;
    }
    prepareChange();
    PageStep step = std::move(m_pageUndo.back());
    m_pageUndo.pop_back();
    const auto first = m_pages.begin() + step.at;
    m_pages.erase(first, first + step.inserted);
    m_pages.insert(m_pages.begin() + step.at, std::make_move_iterator(step.removed.begin()),
                   std::make_move_iterator(step.removed.end()));
    m_current = std::clamp(step.current, 0, pageCount() - 1);
    load(m_current);
    setModified(true);
    emit pagesChanged();
    showCurrent();
}

void Document::addPage()
{
    splicePages(pageCount(), 0, {blankPage()}, pageCount());
}

void Document::insertPage()
{
    splicePages(m_current + 1, 0, {blankPage()}, m_current + 1);
}

void Document::duplicatePage()
{
    // The copy keeps the source: unchanged, it is written as the same bytes again.
    Page copy = page();
    copy.history.reset({copy.text, copy.caret, copy.keta, copy.gyou});
    splicePages(m_current + 1, 0, {std::move(copy)}, m_current + 1);
}

void Document::deletePage()
{
    if (pageCount() == 1) {
        splicePages(0, 1, {blankPage()}, 0);
        return;
    }
    splicePages(m_current, 1, {}, std::min(m_current, pageCount() - 2));
}

void Document::movePage(bool up)
{
    const int other = up ? m_current - 1 : m_current + 1;
    if (other < 0 || other >= pageCount()) {
        return;
    }
    const int at = std::min(m_current, other);
    std::vector<Page> swapped = {pageAt(at + 1), pageAt(at)};
    splicePages(at, 2, std::move(swapped), other);
}

bool Document::mergeWithNext()
{
    if (m_current + 1 >= pageCount()) {
        return false;
    }
    load(m_current + 1);
    const Page& a = page();
    const Page& b = pageAt(m_current + 1);
    std::vector<std::u16string> lines = writtenLines(a.text, a.fileLines);
    for (std::u16string& line : writtenLines(b.text, b.fileLines)) {
        lines.push_back(std::move(line));
    }
    std::vector<std::u16string_view> views(lines.begin(), lines.end());
    const grid::FittedCanvas fitted = grid::fitToGrid(views);
    const int keta = std::max(a.keta, fitted.keta);
    const int gyou = std::max(a.gyou, fitted.gyou);
    if (!fitsOpened(keta, gyou)) {
        return false;
    }
    Page merged = pageOf(lines, keta, gyou);
    merged.name = a.name;
    splicePages(m_current, 2, {std::move(merged)}, m_current);
    return true;
}

bool Document::splitPage(int line)
{
    const Page& p = page();
    const std::vector<std::u16string> lines = grid::canvasLines(p.text);
    if (line <= 0 || line >= static_cast<int>(lines.size())) {
        return false;
    }
    const auto cut = lines.begin() + line;
    Page before = pageOf({lines.begin(), cut}, p.keta, p.gyou);
    Page after = pageOf({cut, lines.end()}, p.keta, p.gyou);
    before.name = p.name;
    before.fileLines = line;
    after.fileLines = std::max(0, p.fileLines - line);
    splicePages(m_current, 1, {std::move(before), std::move(after)}, m_current + 1);
    return true;
}

void Document::renamePage(const QString& name)
{
    const std::u16string renamed = name.toStdU16String();
    if (renamed == page().name) {
        return;
    }
    Page copy = page();
    copy.name = renamed;
    splicePages(m_current, 1, {std::move(copy)}, m_current);
}

}  // namespace masumemo::document
