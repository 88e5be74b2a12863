#include "SaveEngine.h"
#include "ShortList.h"

#include "CueSheetWriter.h"
#include "ExportSideFiles.h"
#include "Id3v1Block.h"
#include "MusicCrc.h"
#include "SaveCopy.h"
#include "SaveFrameLocator.h"
#include "SaveFrameMath.h"
#include "SaveHost.h"
#include "SaveInfoFrame.h"
#include "SaveRange.h"
#include "SaveSourceCheck.h"
#include "SaveSources.h"
#include "SaveTarget.h"
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/app/WriteFaultTexts.h"
#include "core/document/MpegHeader.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "core/project/OutputNames.h"
#include "platform/files/FileIdentity.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace kelbrin {

namespace {

using texts::kFormatsDiffer;
using texts::kCannotCreateQuestion;
using texts::kScanningCaption;
using texts::kWritingCaption;
using texts::kNoJoinedName;
using texts::kNothingTicked;
using texts::kNoFolder;
using texts::kSourceNotOpen;
using texts::kOutputIsSource;
using texts::kReadFailed;
using texts::kWriteFailed;
using texts::kWriteFailedWhy;
using texts::kNothingRead;
using texts::kChangedForTurbo;
using texts::kChangedReadAgain;
using texts::kChangedShorter;
using texts::kSameFileTwice;
using texts::kJoinedNotCreated;
using texts::kNoOutputName;
using texts::kNoUsableFrames;
using texts::kFolderGoneSkipped;
using texts::kEndedBeforeTracks;

// Preview: about this much of the head and of the tail of every piece.
constexpr std::int64_t kPreviewHead = 65535;
constexpr std::int64_t kPreviewTail = 51200;

struct Segment {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

struct Output {
    explicit Output(const QString& path) : target(path) {}
    SaveTarget target;
    QByteArray infoFrame; // the output began with an Info frame (its own or a made one)
    // The frames after an Info frame with an encoder's tag, summed as written.
    std::optional<MusicCrc> music;
    bool vbrHeader = false; // a variable bit rate: the output needs a Xing frame
    OutputFacts facts;
    std::int64_t samples = 0; // at the piece rate, for the joined CUE sheet
    int bitRate = -1;         // the bit rate index of the first frame the Info frame counts

    // Frames of more than one bit rate make a Xing frame of the head.
    void countBitRate(int index) {
        if (bitRate < 0)
            bitRate = index;
        else if (index >= 0 && index != bitRate)
            facts.severalBitRates = true;
    }
};

QString joinedExtension(const QString& name) {
    if (name.size() <= 3)
        return QStringLiteral(".mp3");
    return name.at(name.size() - 4) == QLatin1Char('.') ? QString() : QStringLiteral(".mp3");
}

class SaveRun {
public:
    SaveRun(const SaveRequest& request, SaveHost& host)
        : m_request(request), m_host(host), m_cue(request.joined),
          m_folder(request.destFolder) {}

    SaveOutcome run();

private:
    std::optional<SaveOutcome> checkBeforeWork();
    std::optional<SaveOutcome> checkJoined();
    std::shared_ptr<cPozycjaPlikow> findSource(const QString& path) const;
    QString outputPath(const ExportPiece& piece) const;
    QString pieceName(const ExportPiece& piece) const;
    bool completeIndex(const std::shared_ptr<cPozycjaPlikow>& file);
    std::optional<SaveOutcome> prepareSource(int i);
    const cPozycjaPlikow& facts(int i) const;
    void reportNothingRead(int i);
    void reportReadAgain(int i);
    bool writtenByThisRun(const QString& path) const;
    bool skipsWhileFolderIsGone(const QString& label);
    std::optional<SaveOutcome> cannotCreate(const QString& path, const QString& why, const QString& label);
    static void reportLeftOut(int messageNumber, QStringList& names);
    void leaveOutUnusable(const QString& source, int i);
    std::optional<SaveOutcome> writePiece(int i);
    std::vector<Segment> segmentsOf(const PieceBytes& bytes, SaveFrameLocator& frames) const;
    bool copySegments(Output& out, const std::vector<Segment>& segments, const SaveSource& source,
                      SaveFrameLocator& frames, const cPozycjaPlikow& file, CopyResult& result);
    CopyResult writeSilencedStart(Output& out, const SaveSource& source, SaveFrameLocator& frames,
                                  Segment& segment);
    bool finish(Output& out, const Id3v1Fields& tag);
    SaveOutcome stop(SaveStatus status, int messageNumber = 0);
    SaveOutcome endedBefore(int first);
    SaveOutcome failed(int messageNumber, const QString& path, const QString& why = {});
    SaveOutcome writeFailed(const SaveTarget& target);

    const SaveRequest& m_request;
    SaveHost& m_host;
    CueSheetWriter m_cue;
    QString m_folder;
    QList<std::shared_ptr<cPozycjaPlikow>> m_sources;
    std::vector<bool> m_prepared; // prepareSource ran for the piece
    std::vector<bool> m_ready;    // ... and the piece can be cut
    // Reference headers read from files whose records hold none (Turbo).
    std::map<const cPozycjaPlikow*, std::optional<cPozycjaPlikow>> m_headers;
    bool m_joinedVbr = false;
    // Where the last piece in the joined file ended: a piece that goes on
    // from there is copied as it stands.
    QString m_joinedSource;
    std::int64_t m_joinedEnd = -1;
    std::unique_ptr<Output> m_joined;
    SaveSources m_open;
    TransferBuffer m_buffer;
    SaveOutcome m_outcome;
    std::set<FileIdentity> m_writtenFiles; // the outputs this run completed
    QStringList m_sameFile; // "label (name)" of pieces bound for one of them
    QStringList m_unnamed;  // labels of pieces whose track names no file
    // Labels of pieces by source file, where the source yielded no frame at all.
    std::vector<std::pair<QString, QStringList>> m_unusable;
    // The user chose to go on without a track whose folder had gone: the
    // tracks after it, bound for the same missing folder, are left out
    // without asking again and named at the end.
    bool m_goOnWithoutFolder = false;
    QStringList m_folderGone;
};

std::shared_ptr<cPozycjaPlikow> SaveRun::findSource(const QString& path) const {
    const auto& files = m_request.openFiles;
    if (!files || !QFileInfo(path).isFile())
        return nullptr;
    for (std::int32_t i = 1; i <= files->Count(); ++i)
        if (files->Item(i)->strFileName == path)
            return files->Item(i);
    return nullptr;
}

QString SaveRun::outputPath(const ExportPiece& piece) const {
    QString name;
    if (m_request.joined)
        name = m_request.joinedName + joinedExtension(m_request.joinedName);
    else
        name = m_request.nameByLabel ? LabelFileName(piece.label, piece.outputName) : piece.outputName;
    return m_folder + QLatin1Char('/') + name;
}

// The track's label with the file it was to be written to: tracks cut from
// one source by a script all carry the source's name.
QString SaveRun::pieceName(const ExportPiece& piece) const {
    const QString name = outputPath(piece).mid(m_folder.size() + 1);
    if (m_request.joined || !IsUsableOutputName(name) || name == piece.label)
        return piece.label;
    return piece.label + QStringLiteral(" (") + name + QLatin1Char(')');
}

std::optional<SaveOutcome> SaveRun::checkBeforeWork() {
    if (m_request.joined && m_request.joinedName.trimmed().isEmpty()) {
        ShowText(kNoJoinedName, mb::Information);
        return stop(SaveStatus::Refused, kNoJoinedName);
    }
    if (m_request.pieces.isEmpty()) {
        ShowText(kNothingTicked, mb::Information);
        return stop(SaveStatus::Refused, kNothingTicked);
    }
    if (m_folder.isEmpty() || !QFileInfo(m_folder).isDir()) {
        ShowText(kNoFolder, mb::Information, QStringLiteral("|1"), m_folder);
        return stop(SaveStatus::Refused, kNoFolder);
    }
    // Many pieces share a source: each source path is looked up once.
    std::set<FileIdentity> sourceFiles;
    QHash<QString, std::shared_ptr<cPozycjaPlikow>> sources;
    for (const ExportPiece& piece : m_request.pieces) {
        auto known = sources.constFind(piece.sourcePath);
        if (known == sources.cend()) {
            known = sources.insert(piece.sourcePath, findSource(piece.sourcePath));
            if (const auto identity = FileIdentity::Of(piece.sourcePath))
                sourceFiles.insert(*identity);
        }
        m_sources.append(known.value());
    }
    // An output over one of the sources would destroy what is still to be read.
    // The file a name leads to decides, not its spelling: a link, a hard link,
    // or a case-blind file system that takes "song.mp3" for the source "Song.mp3".
    QStringList outputs;
    for (const ExportPiece& piece : m_request.pieces)
        outputs.append(outputPath(piece));
    if (m_request.writeCue)
        outputs.append(CueSheetPath(m_folder));
    if (m_request.writePlaylist)
        outputs.append(PlaylistPath(m_folder));
    for (const QString& output : outputs) {
        const auto identity = FileIdentity::Of(output);
        if (identity && sourceFiles.count(*identity)) {
            ShowText(kOutputIsSource, mb::Information, QStringLiteral("|1"), output);
            return stop(SaveStatus::Refused, kOutputIsSource);
        }
    }
    if (m_request.turbo) {
        // Turbo cuts by what was read before; a file changed since has moved its frames.
        for (const auto& file : m_sources) {
            if (file && ChangedSinceRead(*file)) {
                ShowText(kChangedForTurbo, mb::Information, QStringLiteral("|1"), file->strFileName);
                return stop(SaveStatus::Refused, kChangedForTurbo);
            }
        }
    }
    return std::nullopt;
}

std::optional<SaveOutcome> SaveRun::checkJoined() {
    // One file holds one stream: every piece must share rate, version and
    // layer. The headers are known only now, after every source was read.
    std::int32_t rate = 0;
    std::uint8_t bits = 0;
    std::set<int> bitRates;
    for (int i = 0; i < m_request.pieces.size(); ++i) {
        if (!m_ready[i])
            continue;
        const cPozycjaPlikow& file = facts(i);
        if (rate == 0) {
            rate = HeaderSampleRate(file);
            bits = file.btyFrame2 & 0x1E;
        } else if (HeaderSampleRate(file) != rate || (file.btyFrame2 & 0x1E) != bits) {
            ShowText(kFormatsDiffer, mb::Information);
            return stop(SaveStatus::Refused, kFormatsDiffer);
        }
        // Pieces of different constant rates make a variable one too.
        m_joinedVbr = m_joinedVbr || file.blnVBR;
        bitRates.insert(file.btyFrame3 >> 4);
    }
    m_joinedVbr = m_joinedVbr || bitRates.size() > 1;
    const QString output = outputPath(m_request.pieces.first());
    if (QFileInfo::exists(output) && m_host.AskReplace(output) != mb::Yes)
        return stop(SaveStatus::Declined);
    return std::nullopt;
}

std::optional<SaveOutcome> SaveRun::prepareSource(int i) {
    m_prepared[i] = true;
    m_ready[i] = false;
    const std::shared_ptr<cPozycjaPlikow>& file = m_sources[i];
    if (!file) {
        ShowText(kSourceNotOpen, mb::Information, QStringLiteral("|1"), m_request.pieces[i].label,
                 QStringLiteral("|2"), m_request.pieces[i].sourcePath);
        m_outcome.unwritten.append(m_request.pieces[i].label);
        return std::nullopt;
    }
    if (!m_request.turbo) {
        // An index of a file that changed since is read again from scratch.
        const bool changed = ChangedSinceRead(*file);
        if (changed) {
            ForgetWhatWasRead(*file);
            m_open.forget(*file); // what was opened knew the old file
        }
        if (!completeIndex(file)) {
            if (m_host.StopRequested())
                return stop(SaveStatus::Cancelled);
            // The scanner has said why; which tracks that costs is said once
            // the run ends.
            leaveOutUnusable(file->strFileName, i);
            return std::nullopt;
        }
        if (changed)
            reportReadAgain(i);
    } else if (!HasReferenceHeader(*file)) {
        // Never scanned (a project load): Turbo reads the first frames' header.
        auto found = m_headers.find(file.get());
        if (found == m_headers.end())
            found = m_headers.emplace(file.get(), WithHeaderFromFile(*file)).first;
        if (!found->second) {
            reportNothingRead(i);
            return std::nullopt;
        }
    }
    if (m_host.StopRequested())
        return stop(SaveStatus::Cancelled);
    m_ready[i] = true;
    return std::nullopt;
}

const cPozycjaPlikow& SaveRun::facts(int i) const {
    const cPozycjaPlikow* file = m_sources[i].get();
    const auto found = m_headers.find(file);
    return found != m_headers.end() && found->second ? *found->second : *file;
}

void SaveRun::reportNothingRead(int i) {
    const ExportPiece& piece = m_request.pieces[i];
    // Tracks a script cuts from one source all carry its name: the output
    // tells them apart.
    ShowText(kNothingRead, mb::Information, QStringLiteral("|1"), piece.sourcePath,
             QStringLiteral("|2"), pieceName(piece));
    m_outcome.unwritten.append(piece.label);
}

// A source is read again only when its file changed after it was opened: the
// tracks cut from it may then hold other audio or end early, which the user
// must hear of before trusting the outputs.
void SaveRun::reportReadAgain(int i) {
    const cPozycjaPlikow& file = *m_sources[i];
    QStringList shorter;
    for (int j = 0; j < m_request.pieces.size(); ++j) {
        const ExportPiece& piece = m_request.pieces[j];
        if (m_sources[j].get() == &file && ReachesPastTheEnd(piece, file) &&
            !shorter.contains(piece.label))
            shorter.append(piece.label);
    }
    if (shorter.isEmpty())
        ShowText(kChangedReadAgain, mb::Information, QStringLiteral("|1"), file.strFileName);
    else
        ShowText(kChangedShorter, mb::Information, QStringLiteral("|1"), file.strFileName,
                 QStringLiteral("|2"), shorter.join(QStringLiteral(", ")));
}

bool SaveRun::completeIndex(const std::shared_ptr<cPozycjaPlikow>& file) {
    if (file->blnLoadedFull && file->Daj_Naglowek_Ilosc() > 0)
        return true;
    m_host.ShowCaption(GetText(kScanningCaption));
    std::shared_ptr<cPozycjaPlikow> record = file;
    bool buildIndex = true; // cutting between frames needs every frame's place
    QString folder;
    const QString opened = Plik_Open(m_host.ScanHost(), nullptr, QString(), record, buildIndex, false, QString(),
                                     nullptr, true, false, folder, source_filter::Mpeg);
    return !opened.isEmpty() && file->blnLoadedFull && file->Daj_Naglowek_Ilosc() > 0;
}

std::vector<Segment> SaveRun::segmentsOf(const PieceBytes& bytes, SaveFrameLocator& frames) const {
    if (!m_request.preview || bytes.end - bytes.start <= kPreviewHead + kPreviewTail)
        return {{bytes.start, bytes.end}};
    const std::int64_t headEnd = frames.atOrAfter(bytes.start + kPreviewHead);
    const std::int64_t tailStart = std::max(headEnd, frames.atOrAfter(bytes.end - kPreviewTail));
    if (headEnd >= bytes.end || tailStart >= bytes.end)
        return {{bytes.start, bytes.end}};
    return {{bytes.start, headEnd}, {tailStart, bytes.end}};
}

bool SaveRun::copySegments(Output& out, const std::vector<Segment>& segments,
                           const SaveSource& source, SaveFrameLocator& frames,
                           const cPozycjaPlikow& file, CopyResult& result) {
    ChunkCopier copier(source, out.target, m_request.copyChunkSize, m_host, m_buffer);
    const std::int32_t samplesPerFrame = mpeg::SamplesPerFrame(file.btyFrame2);
    const bool firstInOutput = out.target.size() == 0;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        Segment segment = segments[k];
        std::int64_t sumFrom = 0; // the Info frame at the output's head is not summed
        std::int32_t firstLength = frames.frameLength(segment.start);
        const QByteArray first =
            firstLength > 0 ? source.readExactly(segment.start, firstLength) : QByteArray();
        if (firstLength > 0 && first.isEmpty()) {
            result = CopyResult::ReadFailed;
            return false;
        }
        if (out.target.size() > 0 && IsInfoFrame(first)) {
            // A source's Info frame describes that source: behind other frames
            // players take it for audio, and it would tell of frames the
            // output does not hold.
            segment.start += firstLength;
            firstLength = frames.frameLength(segment.start);
        } else if (out.target.size() == 0 && firstLength > 0) {
            if (IsInfoFrame(first)) {
                out.infoFrame = first;
                if (HasEncoderTag(first))
                    out.music.emplace();
                sumFrom = segment.start + firstLength;
            } else if (out.vbrHeader) {
                // Without it players take the first frame's rate for the whole file.
                const QByteArray made =
                    MakeVbrHeaderFrame(reinterpret_cast<const std::uint8_t*>(first.constData()));
                if (!made.isEmpty() && !out.target.write(made)) {
                    result = CopyResult::WriteFailed;
                    return false;
                }
                out.infoFrame = made;
            }
        }
        const std::int64_t outputStart = out.target.size();
        const bool countFrames = !out.infoFrame.isEmpty() || (m_request.joined && m_request.writeCue);
        if (countFrames) {
            const std::vector<std::int64_t> starts = frames.frameStarts(segment.start, segment.end);
            // An Info frame at the head of the output holds no sound: a later
            // track of the joined CUE sheet starts that much earlier.
            const bool headedByInfo = outputStart == 0 && !out.infoFrame.isEmpty() && !starts.empty();
            out.samples +=
                static_cast<std::int64_t>(starts.size() - (headedByInfo ? 1 : 0)) * samplesPerFrame;
            if (!out.infoFrame.isEmpty())
                for (std::int64_t at : starts)
                    if (outputStart + (at - segment.start) > 0) {
                        out.facts.framePositions.push_back(outputStart + (at - segment.start));
                        out.countBitRate(frames.bitRateIndex(at));
                    }
        }
        // A piece joined behind one that did not end where it starts begins
        // with silence: its first frames borrow bits from frames that are not
        // in front of them any more.
        if (m_request.joined && !firstInOutput && k == 0 && firstLength > 0 &&
            !(file.strFileName == m_joinedSource && segment.start == m_joinedEnd)) {
            result = writeSilencedStart(out, source, frames, segment);
            if (result != CopyResult::Done)
                return false;
        }
        copier.sumInto(out.music ? &*out.music : nullptr, sumFrom);
        result = copier.copy(segment.start, segment.end);
        if (result != CopyResult::Done)
            return false;
    }
    if (m_request.joined && !segments.empty()) {
        m_joinedSource = file.strFileName;
        m_joinedEnd = segments.back().end;
    }
    out.facts.audioBytes = out.target.size();
    if (out.music)
        out.facts.musicCrc = out.music->value();
    out.facts.endsWithSourceEnd = !segments.empty() && segments.back().end >= frames.audioEnd();
    return true;
}

// Writes the piece's first frame made silent, and after it every frame that
// still reaches back before the piece for its main data; moves the segment's
// start past them. The silenced frames keep the bytes the next ones borrow.
CopyResult SaveRun::writeSilencedStart(Output& out, const SaveSource& source,
                                       SaveFrameLocator& frames, Segment& segment) {
    std::int64_t lent = 0; // bytes the silenced frames hold for the ones after them
    for (bool first = true; segment.start < segment.end; first = false) {
        const std::int32_t length = frames.frameLength(segment.start);
        if (length <= 0)
            break;
        const QByteArray frame = source.readExactly(segment.start, length);
        if (frame.isEmpty())
            return CopyResult::ReadFailed;
        if (!first && save_frame::MainDataBegin(frame) <= lent)
            break;
        const QByteArray silenced = save_frame::SilencedFrame(frame);
        if (!out.target.write(silenced))
            return CopyResult::WriteFailed;
        if (out.music)
            out.music->add(silenced.constData(), silenced.size());
        lent += save_frame::MainDataBytes(frame);
        segment.start += length;
    }
    return CopyResult::Done;
}

bool SaveRun::finish(Output& out, const Id3v1Fields& tag) {
    if (!out.infoFrame.isEmpty() &&
        !out.target.writeAt(0, DescribeOutput(out.infoFrame, out.facts)))
        return false;
    if (!out.target.write(Id3v1Block(tag)))
        return false;
    if (!out.target.commit())
        return false;
    m_outcome.written.append(out.target.targetPath());
    if (const auto identity = FileIdentity::Of(out.target.targetPath()))
        m_writtenFiles.insert(*identity);
    return true;
}

// Two pieces bound for one file (the same name, or names a case-blind file
// system takes for one) must not ask to replace what this run has just
// written: the first keeps the file, the others are named at the end.
bool SaveRun::writtenByThisRun(const QString& path) const {
    const auto identity = FileIdentity::Of(path);
    return identity && m_writtenFiles.count(*identity) != 0;
}

// A folder removed during the export fails every track after it alike: one
// answer to the question is enough for all of them.
bool SaveRun::skipsWhileFolderIsGone(const QString& label) {
    if (!m_goOnWithoutFolder || QFileInfo(m_folder).isDir())
        return false;
    m_folderGone.append(label);
    m_outcome.unwritten.append(label);
    return true;
}

std::optional<SaveOutcome> SaveRun::cannotCreate(const QString& path, const QString& why,
                                                 const QString& label) {
    if (skipsWhileFolderIsGone(label))
        return std::nullopt;
    if (m_host.Ask(kCannotCreateQuestion, mb::YesNo | mb::Question,
                   {QStringLiteral("|1"), path, QStringLiteral("|2"), why}) != mb::Yes)
        return stop(SaveStatus::Failed, kCannotCreateQuestion);
    m_outcome.unwritten.append(label); // skipped, but not written
    m_goOnWithoutFolder = !QFileInfo(m_folder).isDir();
    return std::nullopt;
}

void SaveRun::leaveOutUnusable(const QString& source, int i) {
    m_outcome.unwritten.append(m_request.pieces[i].label);
    const QString label = pieceName(m_request.pieces[i]);
    for (auto& [path, labels] : m_unusable) {
        if (path == source) {
            labels.append(label);
            return;
        }
    }
    m_unusable.emplace_back(source, QStringList{label});
}

// Pieces left out for one reason are named in one box, the first few of them.
void SaveRun::reportLeftOut(int messageNumber, QStringList& names) {
    if (names.isEmpty())
        return;
    ShowText(messageNumber, mb::Information, QStringLiteral("|1"), ShortList(names));
    names.clear();
}

SaveOutcome SaveRun::stop(SaveStatus status, int messageNumber) {
    m_joined.reset(); // an unfinished joined file goes with it
    m_host.ZerujProgress();
    m_host.ShowCaption(QString());
    reportLeftOut(kNoOutputName, m_unnamed);
    reportLeftOut(kSameFileTwice, m_sameFile);
    for (auto& [source, labels] : m_unusable)
        ShowText(kNoUsableFrames, mb::Information, QStringLiteral("|1"), source,
                 QStringLiteral("|2"), ShortList(labels));
    m_unusable.clear();
    if (!m_folderGone.isEmpty()) {
        ShowText(kFolderGoneSkipped, mb::Information, QStringLiteral("|1"), m_folder,
                 QStringLiteral("|2"), ShortList(m_folderGone));
        m_folderGone.clear();
    }
    m_outcome.status = status;
    m_outcome.messageNumber = messageNumber;
    return m_outcome;
}

// Nobody may be left to export the rest later from the same choices: the
// tracks are named, so that the user knows what to save again.
SaveOutcome SaveRun::endedBefore(int first) {
    QStringList left;
    // A joined file is written whole or not at all.
    for (int i = m_request.joined ? 0 : first; i < m_request.pieces.size(); ++i) {
        left.append(pieceName(m_request.pieces[i]));
        m_outcome.unwritten.append(m_request.pieces[i].label);
    }
    ShowText(kEndedBeforeTracks, mb::Information, QStringLiteral("|1"), ShortList(left));
    return stop(SaveStatus::Cancelled, kEndedBeforeTracks);
}

SaveOutcome SaveRun::failed(int messageNumber, const QString& path, const QString& why) {
    m_joined.reset();
    m_host.ZerujProgress();
    ShowText(messageNumber, mb::Information, QStringLiteral("|1"), path, QStringLiteral("|2"), why);
    return stop(SaveStatus::Failed, messageNumber);
}

// The system's reason goes with the file's name: a full disk, a folder
// removed or made read-only meanwhile, a name the file system refuses.
SaveOutcome SaveRun::writeFailed(const SaveTarget& target) {
    const QString why = target.errorText();
    return failed(why.isEmpty() ? kWriteFailed : kWriteFailedWhy, target.targetPath(), why);
}

std::optional<SaveOutcome> SaveRun::writePiece(int i) {
    const ExportPiece& piece = m_request.pieces[i];
    if (!m_prepared[i]) {
        if (auto ended = prepareSource(i))
            return ended;
    }
    if (!m_ready[i])
        return std::nullopt;
    if (m_host.StopRequested())
        return stop(SaveStatus::Cancelled);
    const cPozycjaPlikow& file = facts(i);

    SaveSources::Opened* opened = m_open.open(file, !m_request.turbo);
    if (!opened)
        return failed(kReadFailed, file.strFileName);
    const SaveSource& source = opened->source;
    SaveFrameLocator& frames = opened->frames;
    const PieceBytes bytes =
        m_request.turbo
            ? TurboPieceBytes(piece, file, frames, TurboFrameLength(file, m_request.turboLength))
            : ExactPieceBytes(piece, file, frames);
    if (bytes.empty()) {
        if (!RangeIsEmpty(piece, file)) {
            reportNothingRead(i); // the track names audio its source does not give
        } else {
            m_outcome.emptyRanges.append(pieceName(piece));
        }
        return std::nullopt;
    }

    const QString path = outputPath(piece);
    // A track without a name of its own (never given, or cleared when a
    // project's name named no file) would name the folder itself.
    if (!m_request.joined && !IsUsableOutputName(path.mid(m_folder.size() + 1))) {
        m_unnamed.append(piece.label);
        m_outcome.unwritten.append(piece.label);
        return std::nullopt;
    }
    std::unique_ptr<Output> single;
    Output* out = m_joined.get();
    if (!out) {
        const bool exists = QFileInfo::exists(path);
        if (!m_request.joined && exists && writtenByThisRun(path)) {
            m_sameFile.append(piece.label + QStringLiteral(" (") + QFileInfo(path).fileName() +
                              QLatin1Char(')'));
            m_outcome.unwritten.append(piece.label);
            return std::nullopt;
        }
        if (!m_request.joined && exists && m_host.AskReplace(path) != mb::Yes)
            return std::nullopt;
        auto created = std::make_unique<Output>(path);
        created->vbrHeader = m_request.joined ? m_joinedVbr : file.blnVBR;
        const auto known = exists ? SaveTarget::Target::Unknown : SaveTarget::Target::Missing;
        if (!created->target.open(known)) {
            // Every piece goes into the joined file: there is no next track to go on with.
            if (m_request.joined)
                return failed(kJoinedNotCreated, path, created->target.errorText());
            return cannotCreate(path, created->target.errorText(), piece.label);
        }
        if (m_request.joined)
            m_joined = std::move(created);
        else
            single = std::move(created);
        out = m_request.joined ? m_joined.get() : single.get();
    }

    m_host.ShowCaption(GetText(kWritingCaption) + QLatin1Char(' ') + piece.label);
    m_host.MaxProgress(bytes.end);
    const std::int64_t pieceStartSamples = out->samples;
    CopyResult result = CopyResult::Done;
    const bool copied = m_host.UstawProgress(0) &&
                        copySegments(*out, segmentsOf(bytes, frames), source, frames, file, result);
    if (!copied) {
        if (result == CopyResult::ReadFailed)
            return failed(kReadFailed, file.strFileName);
        if (result == CopyResult::WriteFailed)
            return writeFailed(out->target);
        return stop(SaveStatus::Cancelled);
    }
    m_host.ZerujProgress();
    if (single && !finish(*single, piece.tag))
        return writeFailed(single->target);
    if (m_request.writeCue)
        m_cue.AddPiece(path, piece.tag.artist, piece.tag.title, pieceStartSamples,
                       HeaderSampleRate(file));
    return std::nullopt;
}

SaveOutcome SaveRun::run() {
    if (auto refused = checkBeforeWork())
        return *refused;
    // Temporary files of runs that were killed before they could tidy up.
    SaveTarget::RemoveLeftovers(m_folder);
    m_prepared.assign(static_cast<std::size_t>(m_request.pieces.size()), false);
    m_ready.assign(static_cast<std::size_t>(m_request.pieces.size()), false);
    if (m_request.joined) {
        // Every source is read before the first byte, so the format check
        // compares what the files hold.
        for (int i = 0; i < m_request.pieces.size(); ++i)
            if (auto ended = prepareSource(i))
                return *ended;
        if (auto refused = checkJoined())
            return *refused;
    }
    for (int i = 0; i < m_request.pieces.size(); ++i) {
        if (m_host.StopRequested())
            return stop(SaveStatus::Cancelled);
        if (m_host.EndRequested())
            return endedBefore(i);
        if (auto ended = writePiece(i))
            return *ended;
    }
    if (m_joined) {
        if (!finish(*m_joined, m_request.pieces.last().tag))
            return writeFailed(m_joined->target);
        m_joined.reset();
    }
    if (m_request.writeCue && m_cue.TrackCount() > 0) {
        m_outcome.cueSheet = WriteCueSheet(m_folder, m_cue);
        m_outcome.sideFileFailed = m_outcome.cueSheet.isEmpty();
    }
    if (m_request.writePlaylist) {
        m_outcome.playlist = WritePlaylist(m_folder, m_outcome.written);
        m_outcome.sideFileFailed = m_outcome.sideFileFailed ||
                                   (m_outcome.playlist.isEmpty() && !m_outcome.written.isEmpty());
    }
    return stop(SaveStatus::Finished);
}

} // namespace

SaveOutcome SavePieces(const SaveRequest& request, SaveHost& host) {
    return SaveRun(request, host).run();
}

SaveOutcome RunExport(const SaveRequest& request) {
    HeadlessSaveHost host;
    return SavePieces(request, host);
}

} // namespace kelbrin
