// TVoltariaScan: the file scanner of the media capture. Walks a folder for names matching the
// masks, with the depth limit counted in "/" from the root, and keeps the result as library-file
// lines sorted by the locale's collation. Runs on the caller's (main) thread and lets pending
// events run every few milliseconds, so the operator can stop it.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace library {
class TimeSlice;
}

class TVoltariaScan : public QObject {
    Q_OBJECT

public:
    using TOnFileFoundEvent = std::function<void(const QString& FileName)>;
    using TOnReadyEvent = std::function<void(const QStringList& SearchResult)>;

    explicit TVoltariaScan(QObject* parent = nullptr);

    // Folder where the walk starts, ending with "/".
    QString FilePath;
    // File masks such as "*.mp3", matched without regard to letter case.
    QStringList SearchFilter;
    bool SubDirectories = true;
    // Fired with the full path, as the file system spells it, of every entry added.
    TOnFileFoundEvent OnFileFound;
    // Fired when a search has finished or was stopped, with its result.
    TOnReadyEvent OnReady;
    // Subfolders of a folder are walked only while its path holds at most xnivel "/", counted
    // from RootPath as "C:\" counts from its drive: RootPath itself holds one.
    quint16 xnivel = 0;
    // The root of the drive the walk lies on, ending with "/".
    QString RootPath = QStringLiteral("/");

    QString About() const;

    // Runs a complete walk for all masks; returns when it has finished or been stopped.
    void Search();
    // Asks a running Search to end after the entry it is handling.
    void Stop();
    const QStringList& SearchResult() const { return searchResult_; }

private:
    struct Entry {
        std::string name;
        bool isFolder;
    };

    void walk(const QString& folder, const std::string& folderBytes, const std::vector<std::string>& masks,
              QStringList& found, library::TimeSlice& slice);
    void addMatches(const QString& folder, const Entry& entry, const std::vector<std::string>& masks,
                    QStringList& found);

    QStringList searchResult_;
    bool stopRequested_ = false;
    qsizetype rootSlashes_ = 1;
    std::unordered_set<std::string> notToWalk_;
};
