#pragma once

#include "main/new_page_data.h"

#include <QString>

// What a new project is made from: its name, file path, orientation (1 landscape, 2 portrait),
// the theme bundle it starts from (empty: an empty theme) and the first page. The application
// keeps one for the whole run, so the next new project starts from the last answers.
struct NewProjectData
{
    QString name;
    QString path;
    int orientation = 1;
    QString themeFile;
    NewPageData page;
};
