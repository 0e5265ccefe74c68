#pragma once

#include <QString>
#include <QStringList>

// The folders `init` makes. CreatedFolders removes the folders it created
// (each only while empty) unless kept, so a failed init leaves no empty
// program or data folder behind. StagingFolder is init's private work
// folder (mode 0700: it holds a partial database and the administrator
// password's stored form), hidden beside the target on the same file
// system, removed with everything in it when it goes out of scope; a killed
// init's folder is removed by the next init in the same place.
class CreatedFolders {
public:
    CreatedFolders() = default;
    ~CreatedFolders();
    CreatedFolders(const CreatedFolders&) = delete;
    CreatedFolders& operator=(const CreatedFolders&) = delete;

    // Makes `path` with every missing parent; false when it could not.
    bool make(const QString& path);
    // The set-up is complete: keep what was made.
    void keep() { m_created.clear(); }

private:
    QStringList m_created; // innermost first
};

class StagingFolder {
public:
    explicit StagingFolder(const QString& beside);
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    QString errorString() const { return m_error; }
    QString filePath(const QString& name) const;

    // Removes the staging folders in `folder` left by killed runs on this
    // machine (their process is gone).
    static void RemoveStale(const QString& folder);

private:
    QString m_path;
    QString m_error;
};
