// temp_data_folder.h — a throw-away user data home for one test ($XDG_DATA_HOME points there).
#pragma once

#include <QTemporaryDir>
#include <string>

namespace testsupport {

class TempDataFolder {
public:
    TempDataFolder();
    ~TempDataFolder();
    // $XDG_DATA_HOME, no trailing '/'
    std::string home() const;
    // The program's data folder below it, with a trailing '/' (made here).
    std::string dataFolder() const;
    std::string path(const std::string& name) const { return dataFolder() + name; }

    std::string read(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;
    bool exists(const std::string& name) const;

private:
    QTemporaryDir m_dir;
    std::string m_oldHome;
    bool m_hadHome = false;
};

}  // namespace testsupport
