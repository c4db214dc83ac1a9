// Connects the deck playlists' controls to their handlers.
#include "app/UMIXER.h"
#include "playlist/deck_list.h"
#include "playlist/list_events.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>

void Tform_mixer::connectPlaylistHandlers()
{
    connect(bitbtn14, &QPushButton::clicked, this, [this] { BitBtn14Click(); });
    connect(bitbtn15, &QPushButton::clicked, this, [this] { BitBtn15Click(); });
    connect(bitbtn17, &QPushButton::clicked, this, [this] { bitbtn17Click(); });
    connect(bitbtn19, &QPushButton::clicked, this, [this] { BitBtn19Click(); });
    connect(bitbtn18, &QPushButton::clicked, this, [this] { bitbtn18Click(); });
    connect(bitbtn20, &QPushButton::clicked, this, [this] { BitBtn20Click(); });
    connect(Exclur1, &QAction::triggered, this, [this] { Exclur1Click(); });
    connect(MenuItem5, &QAction::triggered, this, [this] { MenuItem5Click(); });
    connect(bitbtn1, &QPushButton::clicked, this, [this] { bitbtn1Click(); });
    connect(bitbtn12, &QPushButton::clicked, this, [this] { BitBtn12Click(); });
    connect(bitbtn10, &QPushButton::clicked, this, [this] { bitbtn10Click(); });
    connect(bitbtn16, &QPushButton::clicked, this, [this] { BitBtn16Click(); });

    playlist::watchListEvents(ListBox1, {[this] { ListBox1MouseDown(); },
                                         [this](QObject* source, QPoint p) { return ListBox1DragOver(source, p); },
                                         [this](QObject* source, int y) { ListBox1DragDrop(source, y); }});
    playlist::watchListEvents(ListBox2, {[this] { ListBox2MouseDown(); },
                                         [this](QObject* source, QPoint p) { return ListBox2DragOver(source, p); },
                                         [this](QObject* source, int y) { ListBox2DragDrop(source, y); }});
    for (QListWidget* list : {ListBox1, ListBox2})
        playlist::useFixedRowHeight(list);
}
